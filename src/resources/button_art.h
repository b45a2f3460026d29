#pragma once

class QPainter;

// Frame strips of the skinned buttons and the combo faces.
namespace ButtonArt {
void closeButton(QPainter& p);
void maximiseButton(QPainter& p);
void minimiseButton(QPainter& p);
void navigationButton(QPainter& p);
void button(QPainter& p);
void wideButton(QPainter& p);
void amberButton(QPainter& p);
void statusButton(QPainter& p);
void darkButton(QPainter& p);
void pageCombo(QPainter& p);
void headerCombo(QPainter& p);
}  // namespace ButtonArt
