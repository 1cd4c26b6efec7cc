#include "runtime/qt/window.h"

#include "runtime/qt/accessible.h"
#include "runtime/qt/icon.h"
#include "runtime/qt/look.h"
#include "runtime/qt/widgets.h"
#include "scene/layout.h"

#include <QEvent>
#include <QScreen>
#include <algorithm>

namespace qtui {

FormWindow::FormWindow(scene::Scene& scene, QWidget* parent) : QWidget(parent), scene_(scene)
{
    installAccessibility();
    setWindowTitle(QString::fromStdString(scene::utf8(scene.caption)));
    setWindowIcon(rodelumeIcon());
    setFixedSize(qRound(scene.clientWidth), qRound(scene.clientHeight));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    QPalette p = palette();
    p.setColor(QPalette::Window, qtColour(scene::colour::buttonFace, p));
    setPalette(p);

    // Widgets created later lie above earlier ones: controls above labels and shapes, and within each
    // group an element listed earlier above one listed later.
    // Only boxed elements lie in the window itself; a line needs a panel to be drawn in.
    std::vector<scene::Boxed*> drawn, controls;
    for (const auto& e : scene.elements()) {
        auto* boxed = dynamic_cast<scene::Boxed*>(e.get());
        if (e->container() || !boxed)
            continue;
        const bool control = e->kind() != scene::Kind::Label && e->kind() != scene::Kind::Shape;
        (control ? controls : drawn).push_back(boxed);
    }
    std::vector<scene::Boxed*> order(drawn.rbegin(), drawn.rend());
    order.insert(order.end(), controls.rbegin(), controls.rend());

    for (scene::Boxed* e : order) {
        QWidget* w = nullptr;
        switch (e->kind()) {
        case scene::Kind::Label: w = new LabelWidget(static_cast<scene::Label&>(*e), this); break;
        case scene::Kind::Shape: w = new ShapeWidget(static_cast<scene::Shape&>(*e), this); break;
        case scene::Kind::PictureBox: w = new PanelWidget(static_cast<scene::PictureBox&>(*e), this); break;
        case scene::Kind::CheckBox: w = new CheckWidget(static_cast<scene::CheckBox&>(*e), this); break;
        case scene::Kind::CommandButton: w = new ButtonWidget(static_cast<scene::CommandButton&>(*e), this); break;
        case scene::Kind::HScrollBar: w = new AngleScrollBar(static_cast<scene::HScrollBar&>(*e), this); break;
        case scene::Kind::Line: continue; // never boxed
        }
        e->view = dynamic_cast<scene::ElementView*>(w);
        widgets_.emplace_back(e, w);
        if (!e->accessibleName.empty())
            w->setAccessibleName(QString::fromUtf8(e->accessibleName.data(), qsizetype(e->accessibleName.size())));
        if (!e->description().empty())
            w->setAccessibleDescription(QString::fromStdString(e->description()));
    }

    scene.showInPanels([this](const scene::Element& panel) { return static_cast<PanelWidget*>(widget(panel.name())); });

    // A fixed label names its value caption for assistive technology: "sen" labels "α ≈ 0,707…".
    for (const auto& [e, w] : widgets_)
        if (!e->labelFor.empty()) {
            auto *fixed = static_cast<LabelWidget*>(w), *value = static_cast<LabelWidget*>(widget(e->labelFor));
            fixed->labels = value;
            value->labelledBy = fixed;
        }

    speaker_ = new Speaker(this);
    listening_ = std::make_unique<Listening>(scene);
    scene.announce = [this](const scene::Element& about, const std::string& text) {
        if (about.kind() == scene::Kind::CheckBox)
            speaker_->sayToggle(QString::fromStdString(text));
        else
            speaker_->sayAngle(QString::fromStdString(text));
    };

    // Tab order follows TabIndex; labels and the disabled panel never take the focus.
    std::vector<std::pair<int, QWidget*>> tabs;
    for (const auto& [e, w] : widgets_)
        if (w && w->focusPolicy() != Qt::NoFocus && e->kind() != scene::Kind::Label)
            tabs.emplace_back(e->tabIndex, w);
    std::sort(tabs.begin(), tabs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabs.size(); ++i)
        setTabOrder(tabs[i - 1].second, tabs[i].second);
}

FormWindow::~FormWindow()
{
    scene_.announce = nullptr;
    scene_.listening = true;
    for (const auto& e : scene_.elements())
        e->view = nullptr;
    for (const auto& a : scene_.arrays())
        for (int i = 0; i < a->count(); ++i)
            if (scene::Line* l = a->at(i))
                l->view = nullptr;
}

QWidget* FormWindow::widget(std::string_view name) const
{
    for (const auto& [e, w] : widgets_)
        if (e->name() == name)
            return w;
    return nullptr;
}

std::vector<QWidget*> FormWindow::readingOrder() const
{
    std::vector<QWidget*> order;
    for (const std::string_view name : scene::readingOrder())
        order.push_back(widget(name));
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isWindow() && std::find(order.begin(), order.end(), w) == order.end())
            order.push_back(w);
    return order;
}

void FormWindow::centre()
{
    const QScreen* s = screen();
    if (!s)
        return;
    const QRect area = s->availableGeometry(), frame = frameGeometry();
    const scene::Point at =
        scene::startPosition(area.x(), area.y(), area.width(), area.height(), frame.width(), frame.height());
    move(at.x, at.y); // a window's position is its frame's
    centredFrame_ = frame.size();
    centredAt_ = QPoint(at.x, at.y);
}

bool FormWindow::event(QEvent* e)
{
    // An X11 window manager tells the frame's size only once the window is mapped: centre again when it comes,
    // unless the window was moved in between.
    if (e->type() == QEvent::Move && centredFrame_.isValid() && frameGeometry().size() != centredFrame_ &&
        frameGeometry().topLeft() == centredAt_)
        centre();
    if (e->type() == QEvent::UpdateRequest)
        for (const auto& [element, w] : widgets_)
            if (element->kind() == scene::Kind::PictureBox)
                static_cast<PanelWidget*>(w)->placeChanges();
    if (e->type() == QEvent::WindowActivate && !activated_) {
        activated_ = true;
        if (Activate)
            scene_.untrapped(Activate);
    }
    return QWidget::event(e);
}

} // namespace qtui
