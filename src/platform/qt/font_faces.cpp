#include "platform/qt/font_faces.h"

#include <QStringList>
#include <mutex>

namespace {

struct Substitution {
    const char* face;
    const char* candidates;
};

// Common CJK faces of Linux systems first, then a broad Latin face; Qt falls
// back to any installed CJK font for characters a face lacks.
constexpr Substitution kSubstitutions[] = {
    {"微软雅黑",
     "Microsoft YaHei,Noto Sans CJK SC,Source Han Sans SC,WenQuanYi Micro Hei,DejaVu Sans"},
    {"宋体", "SimSun,Noto Serif CJK SC,AR PL UMing CN,WenQuanYi Micro Hei,DejaVu Sans"},
    {"黑体", "SimHei,Noto Sans CJK SC,WenQuanYi Zen Hei,WenQuanYi Micro Hei,DejaVu Sans"},
    {"Arial", "Liberation Sans,Arimo,DejaVu Sans"},
};

QString baseFace(const QString& face, bool& bold) {
    static const QString suffix = QStringLiteral(" Bold");
    if (face.endsWith(suffix)) {
        bold = true;
        return face.left(face.size() - suffix.size());
    }
    return face;
}

}  // namespace

void FontFaces::install() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const Substitution& s : kSubstitutions)
            QFont::insertSubstitutions(QString::fromUtf8(s.face),
                                       QString::fromUtf8(s.candidates).split(','));
    });
}

QFont FontFaces::pixelFont(const QString& face, double pixelSize, bool bold) {
    install();
    QFont font(baseFace(face, bold));
    font.setPixelSize(std::max(1, static_cast<int>(pixelSize + 0.5)));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont FontFaces::pointFont(const QString& face, double pointSize, bool bold) {
    install();
    QFont font(baseFace(face, bold));
    font.setPointSizeF(pointSize > 0 ? pointSize : 1);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}
