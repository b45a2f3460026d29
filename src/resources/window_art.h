#pragma once

class QPainter;

// The skin's bitmaps: window backgrounds and faces. Each draws in the
// picture's design units on a painter scaled to the wanted pixel size.
namespace WindowArt {
void programIcon(QPainter& p);      // 64 x 64
void mainWindow(QPainter& p);       // 1077 x 681
void progressEmpty(QPainter& p);    // 541 x 161
void progressFull(QPainter& p);     // 541 x 161
void channelTest(QPainter& p);      // 640 x 680
void routeCell(QPainter& p);        // 104 x 48
void routeCellOn(QPainter& p);      // 104 x 48
void routeCellNarrow(QPainter& p);  // 22 x 48
}  // namespace WindowArt
