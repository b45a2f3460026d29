// Shows the graph, band strips and sliders on their own. With --screenshot
// FILE it saves a picture of the window once it is drawn and quits.
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include "controls/control_gallery.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("Save a PNG of the window to <file> and quit."),
                                  QStringLiteral("file"));
    parser.addOption(screenshot);
    parser.process(app);

    ControlGallery gallery;
    gallery.show();
    if (parser.isSet(screenshot)) {
        QString file = parser.value(screenshot);
        QTimer::singleShot(500, &gallery, [&gallery, file] {
            bool saved = gallery.grab().save(file, "PNG");
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
