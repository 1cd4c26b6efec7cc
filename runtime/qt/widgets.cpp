#include "runtime/qt/widgets.h"

#include "runtime/qt/look.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QVarLengthArray>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <tuple>

namespace qtui {

namespace {

QRect pixelBox(const scene::Boxed& b)
{
    const int x = qRound(b.left()), y = qRound(b.top());
    return QRect(x, y, qRound(b.left() + b.width()) - x, qRound(b.top() + b.height()) - y);
}

void setColours(QWidget* w, scene::Colour back, scene::Colour fore)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, qtColour(back, p));
    p.setColor(QPalette::WindowText, qtColour(fore, p));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

// What the element shows now, in words, for assistive technology.
void describe(QWidget* w, const scene::Element& e)
{
    w->setAccessibleDescription(QString::fromStdString(static_cast<const scene::Boxed&>(e).description()));
}

QPen linePen(scene::Colour c, const QPalette& palette)
{
    QPen pen(qtColour(c, palette), 1); // one pixel, scaled with the screen
    pen.setCapStyle(Qt::SquareCap);    // so that a zero-length line still shows as its one pixel
    return pen;
}

void drawLine(QPainter& p, const scene::Line& l, const QPalette& palette)
{
    if (!l.shown())
        return;
    p.setPen(linePen(l.colour(), palette));
    p.drawLine(QLineF(l.x1(), l.y1(), l.x2(), l.y2()));
}

void drawShape(QPainter& p, const scene::Shape& s, const QPalette& palette)
{
    if (!s.shown())
        return;
    p.setPen(linePen(s.borderColour, palette));
    p.setBrush(Qt::NoBrush);
    if (s.figure == scene::Shape::Circle) {
        const double d = std::min(s.width(), s.height());
        p.drawEllipse(QRectF(s.left() + (s.width() - d) / 2, s.top() + (s.height() - d) / 2, d, d));
    } else {
        p.drawRect(QRectF(s.left(), s.top(), s.width() - 1, s.height() - 1));
    }
}

} // namespace

PanelWidget::PanelWidget(const scene::PictureBox& panel, QWidget* parent) : QFrame(parent), panel_(panel)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setColours(this, panel.backColour, panel.foreColour);
    setAttribute(Qt::WA_OpaquePaintEvent); // it fills its own ground, mostly from a layer
    setGeometry(pixelBox(panel));
    setEnabled(panel.enabled);
    setFocusPolicy(panel.enabled ? Qt::StrongFocus : Qt::NoFocus);
    if (panel.takesPointer())
        setCursor(Qt::OpenHandCursor);
}

void PanelWidget::add(const scene::Element& e)
{
    items_.push_back({&e, nullptr});
    shownAt_[&e] = {footprint(e), items_.size() - 1};
    layered_ = false;
}

void PanelWidget::add(const scene::LineArray& a)
{
    items_.push_back({nullptr, &a});
    layered_ = false;
}

namespace {

QRectF extent(const scene::Element& e)
{
    if (e.kind() == scene::Kind::Line) {
        const auto& l = static_cast<const scene::Line&>(e);
        return QRectF(QPointF(l.x1(), l.y1()), QPointF(l.x2(), l.y2())).normalized();
    }
    const auto& b = static_cast<const scene::Boxed&>(e);
    return QRectF(b.left(), b.top(), b.width(), b.height());
}

} // namespace

QRect PanelWidget::footprint(const scene::Element& e) const
{
    if (!e.shown())
        return {};
    const QRect inner = contentsRect();
    // A pixel of margin for the pen and the rounding of fractional coordinates.
    const QRectF r = extent(e).translated(inner.topLeft()).adjusted(-2, -2, 2, 2);
    return r.toAlignedRect() & inner;
}

void PanelWidget::changed(const scene::Element& e, scene::Prop p)
{
    if (p == scene::Prop::Description)
        return describe(this, e);
    const auto at = shownAt_.find(&e);
    if (at == shownAt_.end()) { // the panel itself, or an array's element: rare, repaint it all
        layered_ = false;
        update();
        return;
    }
    Shown& shown = at->second;
    Item& item = items_[shown.item];
    if (!item.moves) {
        item.moves = true;
        layered_ = false;
    }
    if (!shown.moved) {
        shown.moved = true;
        moved_.push_back(&shown);
    }
    // The first change asks for the paint, before which placeChanges names the rest.
    if (!requested_ && isVisible()) {
        const QRect r = shown.at | footprint(e);
        requested_ = !r.isEmpty();
        update(r);
    }
}

void PanelWidget::placeChanges()
{
    QRegion dirty;
    for (Shown* shown : moved_) {
        const QRect now = footprint(*items_[shown->item].element);
        dirty += shown->at | now;
        shown->at = now;
        shown->moved = false;
    }
    moved_.clear();
    requested_ = false;
    // Scaled, the raster engine rounds a sloped line's ends where the clip cuts it: a line that a repaint reaches
    // only in part would not fall on the pixels of a whole paint, so the repaint takes in the whole of it. At a
    // fractional scale every item and the frame are painted anew, the graphs' segments too: the panel repaints whole.
    const qreal ratio = devicePixelRatioF();
    if (ratio != std::floor(ratio) && !dirty.isEmpty())
        return update();
    if (ratio != 1) {
        const auto [lo, hi] = repainted();
        for (bool grew = !dirty.isEmpty(); grew;) {
            grew = false;
            for (const auto& [e, shown] : shownAt_)
                if (shown.item >= lo && shown.item < hi && dirty.intersects(shown.at) &&
                    !(QRegion(shown.at) - dirty).isEmpty()) {
                    dirty += shown.at;
                    grew = true;
                }
        }
    }
    update(dirty);
}

std::pair<std::size_t, std::size_t> PanelWidget::repainted() const
{
    std::size_t lo = 0, hi = items_.size();
    while (hi > 0 && !items_[hi - 1].moves)
        --hi;
    while (lo < hi && !items_[lo].moves)
        ++lo;
    return {lo, hi};
}

// The layers take their colours from the palette and the style.
void PanelWidget::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::PaletteChange || e->type() == QEvent::StyleChange || e->type() == QEvent::EnabledChange ||
        e->type() == QEvent::ActivationChange)
        layered_ = false;
    QFrame::changeEvent(e);
}

void PanelWidget::paintItems(QPainter& p, std::size_t lo, std::size_t hi, const QRectF& dirty) const
{
    const QPalette& pal = palette();
    for (std::size_t i = hi; i-- > lo;) {
        const Item& item = items_[i];
        if (item.array) {
            // A graph's segments reach the painter in runs of one colour: one pen for hundreds of lines.
            QVarLengthArray<QLineF, 512> run;
            scene::Colour colour = 0;
            const auto flush = [&] {
                if (run.isEmpty())
                    return;
                p.setPen(linePen(colour, pal));
                p.drawLines(run.constData(), int(run.size()));
                run.clear();
            };
            for (int k = 0; k < item.array->count(); ++k) {
                const scene::Line* l = item.array->at(k);
                if (!l || !l->shown() || !extent(*l).adjusted(-1, -1, 1, 1).intersects(dirty))
                    continue;
                if (l->colour() != colour)
                    flush();
                colour = l->colour();
                run.append(QLineF(l->x1(), l->y1(), l->x2(), l->y2()));
            }
            flush();
        } else if (!extent(*item.element).adjusted(-1, -1, 1, 1).intersects(dirty)) {
            continue;
        } else if (item.element->kind() == scene::Kind::Line) {
            drawLine(p, static_cast<const scene::Line&>(*item.element), pal);
        } else {
            drawShape(p, static_cast<const scene::Shape&>(*item.element), pal);
        }
    }
}

void PanelWidget::paintFocus(QPainter& p) const
{
    p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(contentsRect().adjusted(0, 0, -1, -1));
}

// The panel paints all its pixels: the ground, the frame and the focus rectangle where the repaint reaches them,
// then the items. With layers, the lower one holds the ground and the focus rectangle too, and covers the inner
// area opaquely.
void PanelWidget::paintEvent(QPaintEvent* event)
{
    if (!moved_.empty()) // a paint the window did not announce: the moves' places come in the next
        placeChanges();
    const QRect inner = contentsRect(), rect = event->rect();
    const qreal ratio = devicePixelRatioF();
    const bool layered = ratio == std::floor(ratio); // else a layer's pixels would not fall on the screen's
    const bool frame = !inner.contains(rect);
    QPainter p(this);
    if (frame || !layered)
        p.fillRect(rect, palette().brush(backgroundRole()));
    if (frame)
        drawFrame(&p);
    if (hasFocus() && (frame || !layered) && !inner.adjusted(1, 1, -1, -1).contains(rect))
        paintFocus(p);
    p.setClipRect(inner & rect);
    p.translate(inner.topLeft());
    // Only items that reach the region being repainted are drawn.
    const QRect dirtyInner = rect.translated(-inner.topLeft()) & QRect(QPoint(), inner.size());
    const QRectF dirty = QRectF(dirtyInner).adjusted(-2, -2, 2, 2);
    if (!layered)
        return paintItems(p, 0, items_.size(), dirty);
    if (!layered_ || ratio_ != ratio || focused_ != hasFocus())
        paintLayers(ratio);
    const QRectF source(QPointF(dirtyInner.topLeft()) * ratio, QSizeF(dirtyInner.size()) * ratio);
    p.drawPixmap(QPointF(dirtyInner.topLeft()), under_, source);
    paintItems(p, above_, below_, dirty);
    if (!over_.isNull())
        p.drawPixmap(QPointF(dirtyInner.topLeft()), over_, source);
}

void PanelWidget::paintLayers(qreal ratio)
{
    std::tie(above_, below_) = repainted();
    const QRect inner = contentsRect();
    const auto layer = [&](std::size_t lo, std::size_t hi, bool ground) {
        QPixmap pixmap(inner.size() * ratio);
        pixmap.setDevicePixelRatio(ratio);
        if (!ground)
            pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        if (ground) { // opaque, so that it is copied rather than blended: the ground and the focus rectangle
            p.translate(-inner.topLeft());
            p.fillRect(inner, palette().brush(backgroundRole()));
            if (hasFocus())
                paintFocus(p);
            p.translate(inner.topLeft());
        }
        paintItems(p, lo, hi, QRectF(QPoint(), inner.size()).adjusted(-2, -2, 2, 2));
        return pixmap;
    };
    under_ = layer(below_, items_.size(), true);
    over_ = above_ == 0 ? QPixmap() : layer(0, above_, false);
    ratio_ = ratio;
    focused_ = hasFocus();
    layered_ = true;
}

namespace {

// The buttons as the model's bit flags: 1 primary, 2 secondary, 4 middle.
int buttonFlags(Qt::MouseButtons b)
{
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0);
}

} // namespace

QPointF PanelWidget::inner(const QMouseEvent& e) const { return e.position() - contentsRect().topLeft(); }

void PanelWidget::mousePressEvent(QMouseEvent* e)
{
    if (!panel_.takesPointer())
        return QFrame::mousePressEvent(e);
    if (e->button() == Qt::LeftButton)
        setCursor(Qt::ClosedHandCursor);
    const QPointF at = inner(*e);
    panel_.mouseDown(buttonFlags(e->button()), at.x(), at.y());
}

void PanelWidget::mouseMoveEvent(QMouseEvent* e)
{
    if (!panel_.takesPointer())
        return QFrame::mouseMoveEvent(e);
    const QPointF at = inner(*e);
    panel_.mouseMove(buttonFlags(e->buttons()), at.x(), at.y());
}

void PanelWidget::mouseReleaseEvent(QMouseEvent* e)
{
    if (!panel_.takesPointer())
        return QFrame::mouseReleaseEvent(e);
    if (!(e->buttons() & Qt::LeftButton))
        setCursor(Qt::OpenHandCursor);
}

void PanelWidget::keyPressEvent(QKeyEvent* e)
{
    const auto step = scrollStep(*e);
    if (!panel_.KeyDown || !step)
        return QFrame::keyPressEvent(e);
    panel_.keyDown(*step);
}

void PanelWidget::wheelEvent(QWheelEvent* e)
{
    if (!panel_.KeyDown)
        return QFrame::wheelEvent(e);
    panel_.wheel(wheelTurn_.steps(e->angleDelta().y()));
    e->accept();
}

ShapeWidget::ShapeWidget(const scene::Shape& shape, QWidget* parent) : QWidget(parent), shape_(shape)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(pixelBox(shape));
    // A rectangle's outline lies within two pixels of its edge at any whole scale: the repaints of the captions
    // inside it then pass it by.
    if (shape.figure == scene::Shape::Rectangle)
        setMask(QRegion(rect()) - QRegion(rect().adjusted(2, 2, -2, -2)));
}

void ShapeWidget::changed(const scene::Element&, scene::Prop)
{
    painted_ = QPixmap();
    update();
}

void ShapeWidget::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::PaletteChange || e->type() == QEvent::StyleChange)
        painted_ = QPixmap();
    QWidget::changeEvent(e);
}

// The outline is painted once: the captions inside it repaint their rows across it on every change.
void ShapeWidget::paintEvent(QPaintEvent* e)
{
    const qreal ratio = devicePixelRatioF();
    if (ratio != std::floor(ratio)) {
        QPainter p(this);
        p.translate(-shape_.left(), -shape_.top());
        return drawShape(p, shape_, palette());
    }
    if (painted_.isNull() || painted_.devicePixelRatio() != ratio) {
        painted_ = QPixmap(size() * ratio);
        painted_.setDevicePixelRatio(ratio);
        painted_.fill(Qt::transparent);
        QPainter p(&painted_);
        p.translate(-shape_.left(), -shape_.top());
        drawShape(p, shape_, palette());
    }
    // Only where the outline lies (a rectangle's mask), rectangle by rectangle: a blend taller than about a
    // hundred rows goes through the raster engine's threads.
    QPainter p(this);
    for (const QRect& r : e->region())
        p.drawPixmap(QPointF(r.topLeft()), painted_, QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio));
}

LabelWidget::LabelWidget(const scene::Label& label, QWidget* parent) :
    QWidget(parent), label_(label), text_(displayText(label.text(), label.font.symbol()))
{
    setColours(this, label.backColour, label.foreColour);
    setFont(qtFont(label.font));
    const Qt::Alignment h = label.alignment == scene::Label::RightJustify ? Qt::AlignRight
                            : label.alignment == scene::Label::Center     ? Qt::AlignHCenter
                                                                          : Qt::AlignLeft;
    alignment_ = h | Qt::AlignTop;
    setGeometry(pixelBox(label));
    const QFontMetricsF fm(font());
    overhang_ = std::max({-fm.minLeftBearing(), -fm.minRightBearing(), qreal(0)}) + 1;
    layOut();
}

// As QPainter::drawText lays out a line in a box: unbounded, left to right, then placed for the alignment.
void LabelWidget::layOut()
{
    layout_.setText(text_);
    layout_.setFont(font());
    QTextOption option(Qt::AlignLeft);
    option.setTextDirection(Qt::LeftToRight);
    layout_.setTextOption(option);
    layout_.setCacheEnabled(true);
    layout_.beginLayout();
    QTextLine line = layout_.createLine();
    line.setLineWidth(0x01000000);
    line.setPosition(QPointF(0, 0));
    layout_.endLayout();
    const qreal width = line.naturalTextWidth();
    left_ = alignment_ & Qt::AlignRight     ? this->width() - width
            : alignment_ & Qt::AlignHCenter ? (this->width() - width) / 2
                                            : 0;
}

std::pair<qreal, qreal> LabelWidget::rows(const QString& text)
{
    qreal top = height(), bottom = 0;
    for (const QChar c : text) {
        auto at = inkRows_.find(c.unicode());
        if (at == inkRows_.end()) {
            const QFontMetricsF fm(font());
            const QRectF ink = fm.boundingRect(c);
            at = inkRows_.emplace(c.unicode(), std::pair{fm.ascent() + ink.top() - 1, fm.ascent() + ink.bottom() + 1})
                     .first;
        }
        top = std::min(top, at->second.first);
        bottom = std::max(bottom, at->second.second);
    }
    return {top, bottom};
}

void LabelWidget::changed(const scene::Element&, scene::Prop p)
{
    if (p == scene::Prop::Visible)
        return setVisible(label_.shown());
    if (p != scene::Prop::Caption)
        return;
    const QString now = displayText(label_.text(), label_.font.symbol());
    if (now == text_)
        return;
    const auto [oldLeft, oldRight] = span();
    const auto [oldTop, oldBottom] = rows(text_);
    const auto [newTop, newBottom] = rows(now);
    qsizetype same = 0;
    while (same < now.size() && same < text_.size() && now[same] == text_[same])
        ++same;
    text_ = now;
    layOut();
    auto [left, right] = span();
    left = std::min(left, oldLeft);
    right = std::max(right, oldRight);
    // A start the two share stays in place, left-aligned, but for its last character, which a kerning pair with the
    // next may have moved.
    if (alignment_ & Qt::AlignLeft && same > 0)
        left = std::max(left, layout_.lineAt(0).cursorToX(int(same - 1)) - overhang_);
    const qreal top = std::min(oldTop, newTop), bottom = std::max(oldBottom, newBottom);
    update(QRectF(left, top, right - left, bottom - top).toAlignedRect());
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
}

void LabelWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    layout_.draw(&p, QPointF(left_, 0));
}

CheckWidget::CheckWidget(scene::CheckBox& box, QWidget* parent) : QCheckBox(parent), box_(box)
{
    setFont(qtFont(box.font));
    setText(displayText(box.caption, false));
    setGeometry(pixelBox(box));
    showValue(box.value());
}

void CheckWidget::showValue(std::int16_t value)
{
    const QSignalBlocker quiet(this);
    setTristate(value == 2);
    setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void CheckWidget::changed(const scene::Element&, scene::Prop p)
{
    if (p == scene::Prop::Value)
        showValue(box_.value());
}

// The model decides the next state; its change comes back through changed().
void CheckWidget::nextCheckState() { box_.click(); }

void ButtonWidget::changed(const scene::Element& e, scene::Prop p)
{
    if (p == scene::Prop::Description)
        describe(this, e);
}

ButtonWidget::ButtonWidget(scene::CommandButton& button, QWidget* parent) : QPushButton(parent)
{
    setText(displayText(button.caption, false));
    setGeometry(pixelBox(button));
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [&button] { button.click(); });
}

// Return and Enter press the focused button as Space does, as they do on Windows.
void ButtonWidget::keyPressEvent(QKeyEvent* e)
{
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !e->isAutoRepeat()) {
        click();
        e->accept();
    } else {
        QPushButton::keyPressEvent(e);
    }
}

QRect ThumbScrollBar::thumb() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
}

void ThumbScrollBar::sliderChange(SliderChange change)
{
    // Two pixels beyond the thumb: the style's shading reaches past its rectangle.
    if (change != SliderValueChange || painted_.isNull() || style()->styleHint(QStyle::SH_ScrollBar_Transient))
        return QScrollBar::sliderChange(change);
    update((painted_ | thumb()).adjusted(-2, -2, 2, 2));
}

void ThumbScrollBar::paintEvent(QPaintEvent* e)
{
    QScrollBar::paintEvent(e);
    painted_ = thumb();
}

AngleScrollBar::AngleScrollBar(scene::HScrollBar& bar, QWidget* parent) :
    ThumbScrollBar(Qt::Horizontal, parent), bar_(bar)
{
    setRange(bar.Min, bar.Max);
    setSingleStep(bar.SmallChange);
    setPageStep(bar.LargeChange);
    setValue(bar.value());
    setTracking(false);
    setInvertedControls(false);
    setFocusPolicy(Qt::StrongFocus);
    setGeometry(pixelBox(bar));
    connect(this, &QScrollBar::valueChanged, this, [this](int v) {
        if (v != bar_.value())
            bar_.moveTo(static_cast<std::int16_t>(v));
    });
}

void AngleScrollBar::changed(const scene::Element& e, scene::Prop p)
{
    if (p == scene::Prop::Description)
        describe(this, e);
    else if (p == scene::Prop::Value && !keyed_)
        showValue();
}

void AngleScrollBar::showValue()
{
    const QSignalBlocker quiet(this);
    setValue(bar_.value());
}

std::optional<scene::HScrollBar::Step> scrollStep(const QKeyEvent& e)
{
    using Step = scene::HScrollBar::Step;
    switch (e.key()) {
    case Qt::Key_Right:
    case Qt::Key_Down: return Step::SmallAdd;
    case Qt::Key_Left:
    case Qt::Key_Up: return Step::SmallSub;
    case Qt::Key_PageDown: return Step::LargeAdd;
    case Qt::Key_PageUp: return Step::LargeSub;
    case Qt::Key_Home: return Step::ToMin;
    case Qt::Key_End: return Step::ToMax;
    default: return std::nullopt;
    }
}

// The style draws no focus on a scroll bar: a dotted frame inside its edge, as the panels have. It is drawn over
// whatever part is being repainted, clipped to it, so a repaint of the thumb alone keeps it whole.
void AngleScrollBar::paintEvent(QPaintEvent* e)
{
    ThumbScrollBar::paintEvent(e);
    if (!hasFocus())
        return;
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    p.drawRect(rect().adjusted(1, 1, -2, -2));
}

void AngleScrollBar::keyPressEvent(QKeyEvent* e)
{
    if (const auto step = scrollStep(*e)) {
        // The thumb moves once the change has been said. A screen reader then hears the sentence alone, not the
        // bare number of a value change on the widget it has in focus before it.
        keyed_ = true;
        bar_.move(*step);
        keyed_ = false;
        showValue();
        e->accept();
    } else {
        QScrollBar::keyPressEvent(e);
    }
}

void AngleScrollBar::wheelEvent(QWheelEvent* e)
{
    bar_.wheel(wheelTurn_.steps(e->angleDelta().y()));
    e->accept();
}

} // namespace qtui
