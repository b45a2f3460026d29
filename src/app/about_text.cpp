#include "app/about_text.h"

#include <QDateTime>
#include <QLocale>

#include "link/module_requests.h"
#include "texts/text_triple.h"

namespace {

const TextTriple kAbout{{"关于", "關於", "About"}};
const TextTriple kSoftwareVersion{{"软件版本 ", "軟件版本 ", "Software version "}};
const TextTriple kDeviceVersion{
    {"\r\n设备版本:%d.%d.%d\r\n", "\r\n設備版本:%d.%d.%d\r\n", "\r\nDevice Version:%d.%d.%d\r\n"}};
constexpr int kSoftwareBuild = 12010;

struct Hardware {
    int code;
    const char* name;
};
constexpr Hardware kHardware[] = {{3, "20H"},  {7, "30H"},    {11, "21H"},
                                  {15, "31H"}, {1551, "51H"}, {1599, "71H"}};

// The moment this file was compiled, as "2026-12-09 05:25".
QString buildStamp() {
    QString stamp = QString::fromLatin1(__DATE__ " " __TIME__).simplified();
    QDateTime when = QLocale::c().toDateTime(stamp, QStringLiteral("MMM d yyyy HH:mm:ss"));
    return when.isValid() ? when.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : stamp;
}

}  // namespace

QString AboutText::caption() {
    return QString::fromUtf8(kAbout.get());
}

QString AboutText::hardwareName(int hardwareCode) {
    for (const Hardware& h : kHardware)
        if (h.code == hardwareCode) return QString::fromLatin1(h.name);
    return QString::fromStdString(formatText("%xX", static_cast<unsigned>(hardwareCode)));
}

QString AboutText::text(int hardwareCode, int deviceVersion) {
    QString text = QString::fromUtf8(kSoftwareVersion.get()) + "QX7" +
                   QString::fromStdString(formatText("-V4.%d", kSoftwareBuild));
    text += hardwareName(hardwareCode);
    text += QString::fromStdString(formatText(kDeviceVersion, deviceVersion / 100,
                                              (deviceVersion / 10) % 10, deviceVersion % 10));
    text += "Build " + buildStamp();
    text += "\r\nDomain:" + QString::fromStdString(ModuleRequests::relayHost());
    return text;
}
