#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <thread>

#include "app/about_text.h"
#include "app/language_choice.h"
#include "app/main_messages.h"
#include "app/qt_link_ui.h"
#include "link/link.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "platform/instance_lock.h"
#include "platform/qt/message_box.h"
#include "platform/qt/message_pump.h"
#include "platform/qt/mouse.h"
#include "resources/skin_art.h"
#include "resources/skin_ids.h"
#include "texts/language.h"
#include "texts/ui_texts.h"

namespace {

// Page index -> navigation text.
const TextTriple* const kNavigationTexts[MainWindow::kPageCount] = {
    &uitext::PageMain,     &uitext::PageCenter, &uitext::PageSub, &uitext::PageBackSurround,
    &uitext::PageSurround, &uitext::PageMusic,  &uitext::PageMic, &uitext::PageEcho,
    &uitext::PageReverb,   &uitext::PageSystem};

// The order in which the pages are created.
constexpr int kCreationOrder[MainWindow::kPageCount] = {0, 4, 3, 1, 2, 5, 6, 7, 8, 9};

struct TitleButtonPlace {
    int png;
    double left, top, width, height;  // left and width scale with sx, top with sy, height with s
};
const TitleButtonPlace kTitleButtonPlaces[MainWindow::kTitleButtons] = {
    {SkinId::MinimiseButton, 967, 0, 31, 22}, {SkinId::MaximiseButton, 998, 0, 31, 22},
    {SkinId::CloseButton, 1029, 0, 31, 22},   {SkinId::StatusButton, 994, 30, 79, 23},
    {SkinId::Button, 942, 84, 77, 18},
};
constexpr int kStatusButton = 3;
constexpr int kTrackTestButton = 4;
constexpr double kPageTop = 109;
constexpr double kCaptionHeight = 26;

const QString kFace = QString::fromUtf8("微软雅黑");
constexpr QRgb kTextColour = 0xC8000000;
constexpr QRgb kTextOnColour = 0xC8FAFAFA;
constexpr unsigned kCentred = 0x25;

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

}  // namespace

MainWindow::MainWindow(Link& link, QtLinkUi& ui)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_link(link), m_ui(ui) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    for (auto& b : m_titleButtons) b.setParent(this);
    for (auto& b : m_navigationButtons) b.setParent(this);
    m_titleLabel.setParent(this);
    m_exit = [](int code) { QCoreApplication::exit(code); };
}

MainWindow::~MainWindow() {
    // The link's threads must not wait for a window that is going away.
    m_ui.close();
    m_link.supervisor().stop();
}

bool MainWindow::OnInitDialog() {
    QImage icon = SkinArt::image(SkinId::ProgramIcon);
    if (!icon.isNull()) setWindowIcon(QIcon(QPixmap::fromImage(icon)));

    Language::set(LanguageChoice::fromSettingsAndSystem());
    if (!enforceSingleInstance()) return false;

    setWindowTitle(QStringLiteral("QX7"));
    m_background.loadSkin(SkinId::MainWindow);
    createPages();
    setGeometry(0, 0, kDesignWidth, kDesignHeight);
    layout();

    m_ui.attach(this);
    m_link.supervisor().start();

    MessagePump::post(this, MainMessage::LanguageRefresh, 0, 0);
    MessagePump::post(this, MainMessage::PageSelect, 0, 0);
    return true;
}

// A second copy tells the user and ends; when the lock cannot be made at all
// the program starts anyway.
bool MainWindow::enforceSingleInstance() {
    m_instance = std::make_unique<InstanceLock>(kInstanceName);
    if (m_instance->state() != InstanceLock::State::AlreadyRunning) return true;
    MessageBox::show(nullptr, {text(uitext::ProgramRunning), QStringLiteral("QX7"),
                               Language::windowsId(), MessageBox::Buttons::Ok});
    m_exitCode = 0;
    return false;
}

void MainWindow::createPages() {
    for (int index : kCreationOrder) {
        auto page = std::make_unique<PageSlot>(index, &m_background, this);
        page->hide();
        m_pages[static_cast<size_t>(index)] = std::move(page);
    }
}

void MainWindow::resizeEvent(QResizeEvent*) {
    layout();
}

void MainWindow::layout() {
    if (!m_background.selected() || !m_pages[0]) return;
    double sx = width() / static_cast<double>(kDesignWidth);
    double sy = height() / static_cast<double>(kDesignHeight);
    double s = std::min(sx, sy);
    // Smaller than half the design size: keep the last layout until it grows.
    if (s < 0.5) return;
    m_sx = sx;
    m_sy = sy;
    m_s = s;

    DrawingSurface skin(SkinId::MainWindow);
    m_background.stretchFrom(0, 0, width(), height(), skin, 0, 0, kDesignWidth, kDesignHeight);

    bool create = !m_laidOut;
    placeTitleButtons(create);
    placeNavigationButtons(create);
    QRect label(static_cast<int>(14 * sx), 0, static_cast<int>(250 * sx),
                static_cast<int>(26 * sy));
    if (create) {
        m_titleLabel.create(13225, label);
        m_titleLabel.SetBackground(&m_background, 0, 0);
        m_titleLabel.SetText(QStringLiteral("QX7"));
    } else {
        m_titleLabel.setGeometry(label);
    }
    m_titleLabel.SetTextStyle(14 * s, kFace, 0xC89D9D9D, 0x126);

    QRect pageArea(0, static_cast<int>(kPageTop * sy), static_cast<int>(kDesignWidth * sx),
                   static_cast<int>(kDesignHeight * sy) - static_cast<int>(kPageTop * sy));
    for (auto& page : m_pages) {
        page->setGeometry(pageArea);
        page->update();
    }
    m_laidOut = true;
    update();
}

void MainWindow::placeTitleButtons(bool create) {
    for (int i = 0; i < kTitleButtons; ++i) {
        const TitleButtonPlace& place = kTitleButtonPlaces[i];
        QRect r(static_cast<int>(place.left * m_sx), static_cast<int>(place.top * m_sy),
                static_cast<int>(place.width * m_sx), static_cast<int>(place.height * m_s + 0.5));
        SkinButton& b = titleButton(i);
        if (create) {
            b.create(MainMessage::TitleButton + static_cast<unsigned>(i), r);
            b.SetImage(&m_background, place.png);
            b.SetNotifyValue(i);
        } else {
            b.setGeometry(r);
        }
        // Also recaptures the background the button sits on.
        b.SetTextStyle(12 * m_s, kFace, kTextColour, kCentred, kTextOnColour);
    }
}

void MainWindow::placeNavigationButtons(bool create) {
    for (int i = 0; i < kPageCount; ++i) {
        QRect r(
            QPoint(static_cast<int>((14 + 86 * i) * m_sx), static_cast<int>(29 * m_sy)),
            QPoint(static_cast<int>((85 + 86 * i) * m_sx) - 1, static_cast<int>(50 * m_sy) - 1));
        SkinButton& b = navigationButton(i);
        if (create) {
            b.create(MainMessage::PageSelect, r);
            b.SetNotifyValue(i);
            b.SetImage(&m_background, SkinId::NavigationButton);
            b.SetCheckType(1);
        } else {
            b.setGeometry(r);
        }
        b.SetTextStyle(12 * m_s, kFace, kTextColour, kCentred, kTextOnColour);
    }
}

void MainWindow::paintEvent(QPaintEvent*) {
    if (!m_background.selected()) return;
    DrawingSurface frame(QRect(0, 0, width(), height()));
    frame.copyFrom(0, 0, width(), height(), m_background, 0, 0);
    for (auto& b : m_titleButtons) b.DrawToSurface(frame, 0);
    QPainter p(this);
    if (m_firstPaint) {
        QRect pageArea(QPoint(0, static_cast<int>(kPageTop * m_sy)),
                       QPoint(static_cast<int>(kDesignWidth * m_sx) - 1,
                              static_cast<int>(kDesignHeight * m_sy) - 1));
        p.setClipRegion(QRegion(rect()).subtracted(pageArea));
    }
    p.drawImage(0, 0, frame.image());
    m_firstPaint = 1;
}

intptr_t MainWindow::onMessage(unsigned message, intptr_t wParam, intptr_t lParam) {
    switch (message) {
        case MainMessage::LinkEvent:
            linkEvent(static_cast<int>(wParam), static_cast<int>(lParam));
            return 0;
        case MainMessage::LanguageRefresh:
            languageRefresh();
            return 0;
        case MainMessage::PageSelect:
            pageSelect(static_cast<int>(lParam));
            return 0;
        default:
            break;
    }
    if (message >= MainMessage::TitleButton && message < MainMessage::TitleButton + kTitleButtons) {
        titleButtonClicked(static_cast<int>(lParam));
        return 1;
    }
    return 0;
}

void MainWindow::languageRefresh() {
    // The status text keeps its state and takes the new language.
    QString status = titleButton(kStatusButton).text();
    for (int state = 0; state < 3; ++state) {
        for (int language = 0; language < 3; ++language) {
            if (status == QString::fromUtf8(uitext::ConnectionState[state][language])) {
                titleButton(kStatusButton).SetText(text(uitext::ConnectionState[state]));
                state = 3;
                break;
            }
        }
    }
    for (int i = 0; i < kPageCount; ++i) {
        navigationButton(i).SetText(text(*kNavigationTexts[i]));
        page(i).setTitle(text(*kNavigationTexts[i]));
    }
    titleButton(kTrackTestButton).SetText(text(uitext::TrackTest));
}

void MainWindow::pageSelect(int selected) {
    for (int i = 0; i < kPageCount; ++i) {
        if (i == selected) {
            navigationButton(i).SetCheckType(2);
            page(i).show();
            if (i <= 4) page(i).setEnabled(true);
        } else {
            page(i).hide();
            navigationButton(i).SetCheckType(1);
        }
    }
}

void MainWindow::linkEvent(int code, int argument) {
    switch (code) {
        case LinkEvent::ConnectionState: {
            m_titleLabel.SetText(windowTitle());
            bool connected = argument == LinkEvent::Connection::Connected;
            SkinButton& status = titleButton(kStatusButton);
            status.SetCheckType(connected ? 2 : 1);
            status.SetText(text(uitext::ConnectionState[connected ? 0 : 1]));
            break;
        }
        case LinkEvent::RelayStatus:
            // Only the relay transport asks for a device ID; "no device" is said once.
            if (argument == 0 && !m_noDeviceShown) {
                m_noDeviceShown = true;
                m_link.message(std::string("No device found!"));
            }
            break;
        default:
            // Parameter values reach the pages' controls once the pages exist;
            // the other codes are for other windows or transports.
            break;
    }
}

void MainWindow::titleButtonClicked(int button) {
    switch (button) {
        case 0:
            showMinimized();
            break;
        case 1:
            if (isMaximized())
                showNormal();
            else
                showMaximized();
            break;
        case 2:
            MessagePump::queue(this, [this] { close(); });
            break;
        case kStatusButton:
            toggleSuspend();
            break;
        default:
            break;  // the track test opens with the channel test dialog
    }
}

void MainWindow::toggleSuspend() {
    LinkState& state = m_link.state();
    if (state.pauseFlag.load() == 0) {
        state.pauseFlag = 1;
        titleButton(kStatusButton).SetText(text(uitext::ConnectionState[2]));
    } else {
        state.pauseFlag = 0;
        state.linkAlive = 0;
    }
}

void MainWindow::showAbout() {
    QString body = AboutText::text(m_link.mirror().value(1640), m_link.device().version.load());
    m_link.message(body.toStdString(), AboutText::caption().toStdString());
}

void MainWindow::captionPress(const QPoint& pos, const QPoint& globalPos) {
    if (pos.y() < kCaptionHeight * m_sy && !isMaximized()) Mouse::startWindowMove(this, globalPos);
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        captionPress(event->position().toPoint(), event->globalPosition().toPoint());
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    QPoint pos = event->position().toPoint();
    if (pos.x() <= 9 && pos.y() <= 9)
        showAbout();
    else
        captionPress(pos, event->globalPosition().toPoint());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    auto answer = MessageBox::show(this, {text(uitext::ExitQuestion), text(uitext::Tip),
                                          Language::windowsId(), MessageBox::Buttons::YesNo});
    if (answer != MessageBox::Answer::Yes) return;
    shutdown();
}

void MainWindow::shutdown() {
    hide();
    m_ui.close();
    m_link.supervisor().stop();
    m_background.release();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    m_exit(0);
}

// Escape ends the program at once, without the exit question.
void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        m_exit(0);
        return;
    }
    QWidget::keyPressEvent(event);
}
