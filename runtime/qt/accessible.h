// How the window reaches screen readers beyond what Qt guesses: the roles of the window and the panels, the
// sentence said as the angle changes, the announcements of the check boxes, and the order the window is read in.
#pragma once
#include "scene/scene.h"

#include <QAccessibleWidget>
#include <QTimer>
#include <QWidget>
#include <deque>

namespace qtui {

class Phrase;

// Installs the factory of the interfaces below. Needs the application object: factories are asked newest first,
// and Qt Widgets installs its own with the application. Qt keeps the interface it made at the first accessibility
// event about a widget, so the factory must be in place before the widgets exist.
void installAccessibility();

// Keeps the scene told whether assistive technology listens, and its descriptions current when a screen reader
// comes.
class Listening : public QAccessible::ActivationObserver {
public:
    explicit Listening(scene::Scene& scene);
    ~Listening() override;
    void accessibilityActiveChanged(bool active) override;

private:
    scene::Scene& scene_;
};

// A zero-size widget of role Notification, announced by screen readers each time it shows: for what is said while
// the focus is on none of the widgets that speak for themselves.
class Announcer : public QWidget {
public:
    explicit Announcer(QWidget* window);
    void say(const QString& text);
};

// What the window says as the user acts, the way each kind of sentence reaches a screen reader.
class Speaker : public QObject {
public:
    explicit Speaker(QWidget* window);
    // The angle: through the focused widget when it speaks for itself, otherwise through the announcer. At most
    // one sentence a pause, the latest always: a drag changes the angle faster than a screen reader can follow,
    // and a queue of sentences would leave it seconds behind the pointer.
    void sayAngle(const QString& text);
    // A graph shown or hidden: after the screen reader's own word for the box's new state, which the same key
    // press brings.
    void sayToggle(const QString& text);

private:
    void sayNow(const QString& text);
    QWidget* window_;
    Announcer* announcer_;
    QTimer pause_;
    QString pending_; // the latest sentence that came during the pause
};

// The interface of a widget that says sentences of its own while it has the focus. Each sentence is a new child
// that takes the focus: a screen reader speaks the name of a newly focused object and nothing else, and cuts off
// what it was saying. A new object each time, since a focus event for the object that has the focus says nothing.
class SpeakingAccessible : public QAccessibleWidget {
public:
    SpeakingAccessible(QWidget* widget, QAccessible::Role role);
    ~SpeakingAccessible() override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    void say(const QString& text);

private:
    Phrase* last() const;
    std::deque<QAccessible::Id> phrases_;
};

} // namespace qtui
