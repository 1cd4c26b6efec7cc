// The widgets that show scene elements and hand the user's input back to them.
#pragma once
#include "scene/scene.h"

#include <QCheckBox>
#include <QFrame>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QTextLayout>
#include <optional>
#include <unordered_map>
#include <vector>

namespace qtui {

// A panel that paints its Line and Shape elements in its own pixel coordinates, clipped to its inner area. A panel
// whose model takes the pointer shows an open hand, closed while the primary button is down, and gets presses and
// drags in the coordinates of its inner area; touches reach it as Qt's mouse events synthesised from them.
class PanelWidget : public QFrame, public scene::PanelView {
public:
    PanelWidget(const scene::PictureBox& panel, QWidget* parent);
    // Adds an element that the panel holds, in layout order; earlier ones lie above later ones.
    void add(const scene::Element& e) override;
    void add(const scene::LineArray& a) override;
    void changed(const scene::Element& e, scene::Prop p) override;
    // Asks for the repaint of the places that its elements moved from and to since the last call. An element moves
    // by several properties in a row: the window calls this once before it paints.
    void placeChanges();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    // A notch of the wheel is a step of the scroll bar's keys.
    void wheelEvent(QWheelEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    // Where an element shows now, in widget pixels; empty when hidden.
    QRect footprint(const scene::Element& e) const;
    // The pointer's place in the panel's own coordinates.
    QPointF inner(const QMouseEvent& e) const;

    // Paints items_[lo, hi), the lowest first, those that reach `dirty` (panel coordinates).
    void paintItems(QPainter& p, std::size_t lo, std::size_t hi, const QRectF& dirty) const;

    const scene::PictureBox& panel_;
    struct Item {
        const scene::Element* element;
        const scene::LineArray* array;
        bool moves = false; // has changed since the panel was made
    };
    std::vector<Item> items_;
    // Where each single element showed at its last change, so that a move repaints only what it covers.
    struct Shown {
        QRect at;
        std::size_t item;
        bool moved = false; // since placeChanges
    };
    std::unordered_map<const scene::Element*, Shown> shownAt_;
    std::vector<Shown*> moved_;
    bool requested_ = false; // a repaint, since placeChanges
    scene::WheelTurn wheelTurn_;
    void paintFocus(QPainter& p) const;
    // The items that have not moved, painted once: under_ holds those below every moving one (items_[below_, end))
    // on the panel's ground, over_ those above them all (items_[0, above_)). A change repaints the moving lines
    // between the two; a change to an item in either, or of the focus, paints them again.
    void paintLayers(qreal ratio);
    // The items painted at each repaint: those from the topmost that has moved to the lowest.
    std::pair<std::size_t, std::size_t> repainted() const;
    QPixmap under_, over_;
    std::size_t above_ = 0, below_ = 0;
    qreal ratio_ = 0;
    bool layered_ = false, focused_ = false;
};

// A rectangle or circle outline lying directly in the window.
class ShapeWidget : public QWidget, public scene::ElementView {
public:
    ShapeWidget(const scene::Shape& shape, QWidget* parent);
    void changed(const scene::Element&, scene::Prop) override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    const scene::Shape& shape_;
    QPixmap painted_;
};

// A caption that paints its own text, as QLabel would. A new text repaints only where the two texts' ink differs:
// a change of the angle keeps "α ≈ 0," and the box's empty rows, where QLabel repaints its whole box.
class LabelWidget : public QWidget, public scene::ElementView {
public:
    LabelWidget(const scene::Label& label, QWidget* parent);
    void changed(const scene::Element&, scene::Prop) override;
    const QString& text() const { return text_; }
    Qt::Alignment alignment() const { return alignment_; }
    // The caption that this one names for assistive technology ("sen" names "α ≈ 0,707…"), and the reverse.
    LabelWidget* labels = nullptr;
    LabelWidget* labelledBy = nullptr;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    // Lays the text out once for painting and for finding what a new one changes.
    void layOut();
    // The columns the text's ink may reach.
    std::pair<qreal, qreal> span() const
    {
        return {left_ - overhang_, left_ + layout_.lineAt(0).naturalTextWidth() + overhang_};
    }
    const scene::Label& label_;
    QString text_;
    Qt::Alignment alignment_;
    QTextLayout layout_;
    qreal left_ = 0;     // where the line starts, for the alignment
    qreal overhang_ = 0; // how far a glyph's ink may reach beyond its advance, and a pixel of antialiasing
    // The rows each character's ink reaches, measured once: a change repaints only the rows of its two texts, and
    // so leaves alone the frames whose edges run along the boxes' tops.
    std::pair<qreal, qreal> rows(const QString& text);
    std::unordered_map<char16_t, std::pair<qreal, qreal>> inkRows_;
};

class CheckWidget : public QCheckBox, public scene::ElementView {
public:
    CheckWidget(scene::CheckBox& box, QWidget* parent);
    void changed(const scene::Element&, scene::Prop) override;

protected:
    // A click switches between unchecked and checked, from the grayed state too.
    void nextCheckState() override;

private:
    void showValue(std::int16_t value);
    scene::CheckBox& box_;
};

class ButtonWidget : public QPushButton, public scene::ElementView {
public:
    ButtonWidget(scene::CommandButton& button, QWidget* parent);
    void changed(const scene::Element& e, scene::Prop p) override;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

// The scroll bar's step for a key, if the key is one of its own.
std::optional<scene::HScrollBar::Step> scrollStep(const QKeyEvent& e);

// A scroll bar that repaints only its thumb's old and new places when its value moves: its whole repaint sends
// the groove's lines through the raster engine's thread pool, a hand-off on every change.
class ThumbScrollBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QRect thumb() const;
    QRect painted_; // the thumb's place at the last paint
};

// A horizontal scroll bar with the desktop's keys: Right and Down add a small step, Left and Up take
// one away, Page Down and Page Up a large step, Home and End go to the ends. The value follows the
// thumb only when the drag ends.
class AngleScrollBar : public ThumbScrollBar, public scene::ElementView {
public:
    AngleScrollBar(scene::HScrollBar& bar, QWidget* parent);
    void changed(const scene::Element&, scene::Prop) override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    // A notch down adds a small step, as on Windows, through the model rather than QScrollBar's own wheel.
    void wheelEvent(QWheelEvent* e) override;

private:
    void showValue();
    scene::HScrollBar& bar_;
    scene::WheelTurn wheelTurn_;
    bool keyed_ = false; // a key of its own is being handled
};

} // namespace qtui
