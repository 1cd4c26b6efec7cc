// The Qt window that shows a scene: one widget per element, fixed size, centred at start.
#pragma once
#include "scene/scene.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace qtui {

class Listening;
class Speaker;

class FormWindow : public QWidget {
public:
    explicit FormWindow(scene::Scene& scene, QWidget* parent = nullptr);
    ~FormWindow() override;

    // The widget that shows the element of that name, or null.
    QWidget* widget(std::string_view name) const;
    // Raised when the window first becomes the application's active window.
    std::function<void()> Activate;
    // Centres the window on its screen's available area.
    void centre();
    // The widgets in the order assistive technology reads them: the layout's, then any others.
    std::vector<QWidget*> readingOrder() const;

protected:
    bool event(QEvent* e) override;

private:
    scene::Scene& scene_;
    Speaker* speaker_; // what the model announces
    std::unique_ptr<Listening> listening_;
    std::vector<std::pair<const scene::Boxed*, QWidget*>> widgets_;
    bool activated_ = false;
    QSize centredFrame_; // the frame's size and place when last centred
    QPoint centredAt_;
};

} // namespace qtui
