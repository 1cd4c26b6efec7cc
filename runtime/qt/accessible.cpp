#include "runtime/qt/accessible.h"

#include "runtime/qt/widgets.h"
#include "runtime/qt/window.h"

#include <QApplication>
#include <QPointer>
#include <QScrollBar>

namespace qtui {

// A sentence as an object of its own, the only child of the widget that says it; focused while the widget has the
// focus, even once a newer one has come: a screen reader that falls behind a held key asks about a sentence's
// state only when it comes to its event, and passes over an object that is no longer focused by then.
class Phrase : public QAccessibleInterface {
public:
    Phrase(QWidget* widget, const QString& text) : widget_(widget), text_(text) {}
    bool isValid() const override { return widget_; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return widget_ ? widget_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(widget_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? text_ : QString(); }
    void setText(QAccessible::Text, const QString&) override {}
    // No area of its own, at the widget's corner: a screen reader that meets a click looks for a focused object
    // under the pointer and moves to it silently, and would then pass over the sentence's focus event.
    QRect rect() const override { return widget_ ? QRect(widget_->mapToGlobal(QPoint(0, 0)), QSize(0, 0)) : QRect(); }
    // Client adds no role word to what a screen reader says of it.
    QAccessible::Role role() const override { return QAccessible::Client; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.focusable = true;
        s.focused = widget_ && widget_->hasFocus();
        return s;
    }

private:
    QPointer<QWidget> widget_;
    QString text_;
};

namespace {

// The scroll bar keeps its value for a screen reader's "where am I" and its review of the window.
class ScrollBarAccessible : public SpeakingAccessible, public QAccessibleValueInterface {
public:
    explicit ScrollBarAccessible(QScrollBar* bar) : SpeakingAccessible(bar, QAccessible::ScrollBar) {}
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return SpeakingAccessible::interface_cast(t);
    }
    QVariant currentValue() const override { return bar()->value(); }
    void setCurrentValue(const QVariant& v) override { bar()->setValue(v.toInt()); }
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    QVariant minimumStepSize() const override { return bar()->singleStep(); }

private:
    QScrollBar* bar() const { return static_cast<QScrollBar*>(widget()); }
};

// A caption reads as the text it shows, and names its value caption or is named by its label.
class LabelAccessible : public QAccessibleWidget {
public:
    explicit LabelAccessible(LabelWidget* label) : QAccessibleWidget(label, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? label()->text() : QAccessibleWidget::text(t);
    }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override
    {
        QList<QPair<QAccessibleInterface*, QAccessible::Relation>> found;
        if (match & QAccessible::Label && label()->labelledBy)
            found.append({QAccessible::queryAccessibleInterface(label()->labelledBy), QAccessible::Label});
        if (match & QAccessible::Labelled && label()->labels)
            found.append({QAccessible::queryAccessibleInterface(label()->labels), QAccessible::Labelled});
        return found;
    }

private:
    LabelWidget* label() const { return static_cast<LabelWidget*>(widget()); }
};

// The top-level window as a frame, the role screen readers take a window's title from, with its children in
// reading order rather than in the stacking order that the widgets were created in.
class WindowAccessible : public QAccessibleWidget {
public:
    explicit WindowAccessible(FormWindow* window) : QAccessibleWidget(window, QAccessible::Window) {}
    int childCount() const override { return int(order().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const std::vector<QWidget*> widgets = order();
        return index >= 0 && std::size_t(index) < widgets.size() ? QAccessible::queryAccessibleInterface(widgets[index])
                                                                 : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const std::vector<QWidget*> widgets = order();
        for (std::size_t i = 0; child && i < widgets.size(); ++i)
            if (widgets[i] == child->object())
                return int(i);
        return -1;
    }

private:
    std::vector<QWidget*> order() const { return static_cast<FormWindow*>(widget())->readingOrder(); }
};

QAccessibleInterface* factory(const QString&, QObject* object)
{
    if (auto* w = dynamic_cast<FormWindow*>(object))
        return new WindowAccessible(w);
    // Any role but QFrame's Border, which screen readers take for a top-level window and ignore inside another.
    // Graphic, since the panels show pictures; its description says what they show now.
    if (auto* w = dynamic_cast<PanelWidget*>(object))
        return new SpeakingAccessible(w, QAccessible::Graphic);
    if (auto* w = dynamic_cast<AngleScrollBar*>(object))
        return new ScrollBarAccessible(w);
    if (auto* w = dynamic_cast<LabelWidget*>(object))
        return new LabelAccessible(w);
    if (auto* w = dynamic_cast<Announcer*>(object))
        return new QAccessibleWidget(w, QAccessible::Notification);
    return nullptr;
}

} // namespace

void installAccessibility() { QAccessible::installFactory(factory); } // Qt installs a factory once

Listening::Listening(scene::Scene& scene) : scene_(scene)
{
    scene_.listening = QAccessible::isActive();
    QAccessible::installActivationObserver(this);
}

Listening::~Listening() { QAccessible::removeActivationObserver(this); }

void Listening::accessibilityActiveChanged(bool active)
{
    scene_.listening = active;
    if (active && scene_.redescribe)
        scene_.untrapped(scene_.redescribe);
}

Announcer::Announcer(QWidget* window) : QWidget(window)
{
    setGeometry(0, 0, 0, 0);
    hide();
}

void Announcer::say(const QString& text)
{
    hide();
    setAccessibleName(text);
    show();
}

Speaker::Speaker(QWidget* window) : QObject(window), window_(window), announcer_(new Announcer(window))
{
    pause_.setSingleShot(true);
    pause_.setInterval(150);
    connect(&pause_, &QTimer::timeout, this, [this] {
        if (pending_.isEmpty())
            return;
        sayNow(pending_);
        pending_.clear();
        pause_.start();
    });
}

void Speaker::sayAngle(const QString& text)
{
    if (pause_.isActive()) {
        pending_ = text;
        return;
    }
    sayNow(text);
    pause_.start();
}

void Speaker::sayNow(const QString& text)
{
    QWidget* focused = QApplication::focusWidget();
    auto* speaking = focused && focused->window() == window_
                         ? dynamic_cast<SpeakingAccessible*>(QAccessible::queryAccessibleInterface(focused))
                         : nullptr;
    if (speaking)
        speaking->say(text);
    else
        announcer_->say(text);
}

void Speaker::sayToggle(const QString& text)
{
    QTimer::singleShot(0, announcer_, [announcer = announcer_, text] { announcer->say(text); });
}

SpeakingAccessible::SpeakingAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

SpeakingAccessible::~SpeakingAccessible()
{
    for (const QAccessible::Id id : phrases_)
        QAccessible::deleteAccessibleInterface(id);
}

Phrase* SpeakingAccessible::last() const
{
    return phrases_.empty() ? nullptr : static_cast<Phrase*>(QAccessible::accessibleInterface(phrases_.back()));
}

int SpeakingAccessible::childCount() const { return phrases_.empty() ? 0 : 1; }

QAccessibleInterface* SpeakingAccessible::child(int index) const { return index == 0 ? last() : nullptr; }

int SpeakingAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    return child && child == last() ? 0 : -1;
}

void SpeakingAccessible::say(const QString& text)
{
    auto* phrase = new Phrase(widget(), text);
    phrases_.push_back(QAccessible::registerAccessibleInterface(phrase));
    QAccessibleEvent focus(phrase, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
    while (phrases_.size() > 16) { // a screen reader may still ask about the last few
        QAccessible::deleteAccessibleInterface(phrases_.front());
        phrases_.pop_front();
    }
}

} // namespace qtui
