#pragma once

#include <QFont>
#include <QString>

// The faces the skin asks for by their Windows names ("微软雅黑", "宋体",
// "黑体", "Arial Bold", "Arial") mapped onto fonts this system has.
class FontFaces {
public:
    // Registers the substitutions once; later calls do nothing.
    static void install();
    // A font of the named face at a size in pixels; a face name ending in
    // " Bold" gives the bold weight of the face before it.
    static QFont pixelFont(const QString& face, double pixelSize, bool bold = false);
    // The same at a size in points.
    static QFont pointFont(const QString& face, double pointSize, bool bold = false);
};
