#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>

#include <filesystem>
#include <memory>
#include <vector>

#include "app/main_window.h"
#include "app/qt_link_ui.h"
#include "files/settings.h"
#include "link/link.h"
#include "link/link_event.h"
#include "platform/clock.h"
#include "platform/instance_lock.h"
#include "platform/qt/message_box.h"
#include "support/qt_wait.h"
#include "texts/language.h"

// A main window on a link without a device, with settings, lock and locale
// of the test's own; message boxes are recorded and answered by `answer`.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        m_root = std::filesystem::temp_directory_path() /
                 ("qx7-window-" + std::to_string(getpid()) + "-" + std::to_string(s_run++));
        std::filesystem::create_directories(m_root / "program");
        std::filesystem::create_directories(m_root / "user");
        std::filesystem::create_directories(m_root / "run");
        Settings::overrideFolders((m_root / "program").string() + "/",
                                  (m_root / "user").string() + "/");
        InstanceLock::overrideFolder((m_root / "run").string());
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        MessageBox::setObserver(
            [this](const MessageBox::Request& r) -> std::optional<MessageBox::Answer> {
                boxes.push_back(r);
                return answer;
            });
    }

    void TearDown() override {
        window.reset();
        link.reset();
        ui.reset();
        MessageBox::setObserver(nullptr);
        QLocale::setDefault(QLocale::system());
        InstanceLock::overrideFolder("");
        Settings::overrideFolders("", "");
        Language::set(Language::English);
        std::filesystem::remove_all(m_root);
    }

    // Builds the window and runs its start-up sequence; unless told otherwise
    // the device is then connected and read, so that the window takes edits.
    bool start(bool read = true) {
        ui = std::make_unique<QtLinkUi>();
        link = std::make_unique<Link>(*ui, clock);
        window = std::make_unique<MainWindow>(*link, *ui);
        window->setExitHandler([this](int code) { exits.push_back(code); });
        bool ok = window->start();
        if (ok) window->show();
        processQueued();
        // The link clears the mirror once as it starts, then names its
        // transport and says it has started; values and events a test
        // sends before that would be lost or overtaken.
        if (ok) {
            EXPECT_TRUE(processUntil([this] {
                QString title = QString::fromStdString(link->title());
                return !title.isEmpty() && window->titleLabel().text() == title;
            }));
        }
        if (ok && read) {
            ui->postEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Connected);
            ui->postEvent(LinkEvent::ReadComplete, 0);
            processQueued();
        }
        return ok;
    }

    int boxesWithText(const QString& text) const {
        int n = 0;
        for (auto& b : boxes) n += b.text == text;
        return n;
    }

    // A key typed at the window, which takes keys only while it is active.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        window->activateWindow();
        EXPECT_TRUE(processUntil([this] { return window->isActiveWindow(); }));
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(window.get(), &event);
    }

    std::filesystem::path root() const { return m_root; }

    Clock clock{10.0};
    std::unique_ptr<QtLinkUi> ui;
    std::unique_ptr<Link> link;
    std::unique_ptr<MainWindow> window;
    std::vector<MessageBox::Request> boxes;
    std::optional<MessageBox::Answer> answer = MessageBox::Answer::Yes;
    std::vector<int> exits;

private:
    std::filesystem::path m_root;
    static inline int s_run = 0;
};
