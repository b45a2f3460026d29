#include "app/page_stack.h"

#include "app/window_text_style.h"
#include "binding/parameter_binding.h"
#include "link/link.h"
#include "pages/effect_page.h"
#include "pages/input_page.h"
#include "pages/output_page.h"
#include "pages/system_page.h"
#include "resources/skin_ids.h"
#include "texts/text_triple.h"
#include "texts/ui_texts.h"

namespace {

const TextTriple* const kNavigationTexts[pageNumber::Count] = {
    &uitext::PageMain,     &uitext::PageCenter, &uitext::PageSub, &uitext::PageBackSurround,
    &uitext::PageSurround, &uitext::PageMusic,  &uitext::PageMic, &uitext::PageEcho,
    &uitext::PageReverb,   &uitext::PageSystem};

// The order in which the pages are created.
constexpr int kCreationOrder[pageNumber::Count] = {
    pageNumber::Main,      pageNumber::Surround, pageNumber::BackSurround, pageNumber::Centre,
    pageNumber::Subwoofer, pageNumber::Music,    pageNumber::Microphone,   pageNumber::Echo,
    pageNumber::Reverb,    pageNumber::System};

}  // namespace

PageStack::PageStack(QWidget& window) : QObject(&window), m_window(window) {
    for (auto& b : m_buttons) b.setParent(&window);
}

PageStack::~PageStack() = default;

void PageStack::add(int index, std::unique_ptr<Page> page) {
    page->hide();
    m_pages[static_cast<size_t>(index)] = std::move(page);
}

void PageStack::createPages(ParameterBinding& binding, Link& link, SystemPage::Jobs jobs,
                            const ChangeHandler& changed,
                            std::function<void(int index)> refreshed) {
    for (int index : kCreationOrder) {
        if (index < pageNumber::Outputs) {
            auto output = std::make_unique<OutputPage>(index, &m_window);
            output->setChangeHandler(changed);
            binding.attach(index, output.get());
            add(index, std::move(output));
        } else if (index == pageNumber::System) {
            auto system = std::make_unique<SystemPage>(binding, link.state(), link.device(),
                                                       std::move(jobs), &m_window);
            binding.attach(index, system.get());
            add(index, std::move(system));
        } else {
            auto page = createEqualiserPage(index, link, binding, refreshed);
            page->setChangeHandler(changed);
            binding.attach(index, page.get());
            add(index, std::move(page));
        }
    }
}

std::unique_ptr<EqualiserPage> PageStack::createEqualiserPage(int index, Link& link,
                                                              ParameterBinding& binding,
                                                              std::function<void(int)> refreshed) {
    if (index == pageNumber::Microphone) {
        auto mic = std::make_unique<InputPage>(index, &m_window);
        mic->setMirror(&link.mirror());
        mic->setIndexRefreshHandler(std::move(refreshed));
        binding.setMicrophoneChoice(mic.get());
        return mic;
    }
    if (index == pageNumber::Music) return std::make_unique<InputPage>(index, &m_window);
    return std::make_unique<EffectPage>(index, &m_window);
}

OutputPage& PageStack::outputPage(int i) {
    return static_cast<OutputPage&>(page(i));
}

EqualiserPage& PageStack::equaliserPage(int i) {
    return static_cast<EqualiserPage&>(page(i));
}

SystemPage& PageStack::systemPage() {
    return static_cast<SystemPage&>(page(pageNumber::System));
}

bool PageStack::complete() const {
    for (const auto& p : m_pages)
        if (!p) return false;
    return true;
}

void PageStack::placeButtons(DrawingSurface* background, double sx, double sy, bool create) {
    using namespace windowTextStyle;
    double s = std::min(sx, sy);
    for (int i = 0; i < pageNumber::Count; ++i) {
        QRect r(QPoint(static_cast<int>((14 + 86 * i) * sx), static_cast<int>(29 * sy)),
                QPoint(static_cast<int>((85 + 86 * i) * sx) - 1, static_cast<int>(50 * sy) - 1));
        SkinButton& b = navigationButton(i);
        if (create) {
            b.create(r);
            connect(&b, &SkinButton::clicked, this, [this, i] { select(i); });
            b.setImage(background, SkinId::NavigationButton);
            b.setCheckType(1);
        } else {
            b.setGeometry(r);
        }
        b.setTextStyle(kSize * s, kFace, kColour, kCentred, kOnColour);
    }
}

void PageStack::placePages(DrawingSurface* background, const QRect& area, bool create) {
    for (int i = 0; i < pageNumber::Count; ++i) {
        Page& p = page(i);
        p.setGeometry(area);
        if (create) p.setBackgroundSource(background);
        p.update();
    }
}

void PageStack::select(int selected) {
    for (int i = 0; i < pageNumber::Count; ++i) {
        if (i == selected) {
            navigationButton(i).setCheckType(2);
            page(i).show();
            page(i).setEnabled(m_enabled);
        } else {
            page(i).hide();
            navigationButton(i).setCheckType(1);
        }
    }
}

void PageStack::refreshTexts() {
    for (int i = 0; i < pageNumber::Count; ++i) {
        navigationButton(i).setText(QString::fromUtf8(kNavigationTexts[i]->get()));
        page(i).refreshTexts();
    }
}

void PageStack::setInputEnabled(bool enabled) {
    m_enabled = enabled;
    for (auto& p : m_pages)
        if (p) p->setEnabled(enabled);
}
