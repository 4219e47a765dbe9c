#include "layout/widgets.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace {
// A label designed without a size: it sizes itself to its text. Measuring
// text needs the font database, which is slow to set up, so a label that is
// not visible yet waits until it is shown; the registration window can so
// appear before any font has been loaded.
class AutoSizeLabel : public QLabel {
 public:
  AutoSizeLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}
  void fit() {
    if (isVisible()) {
      pending_ = false;
      adjustSize();
    } else {
      pending_ = true;
    }
  }

 protected:
  void showEvent(QShowEvent* event) override {
    if (pending_) {
      pending_ = false;
      adjustSize();
    }
    QLabel::showEvent(event);
  }

 private:
  bool pending_ = true;
};

// A carriage return or tab at the end of a printed line only ends it.
QString shownPart(QString text) {
  while (!text.isEmpty() && (text.back() == u'\r' || text.back() == u'\t')) text.chop(1);
  return text;
}
}  // namespace

namespace {
// A picture box reads as text once something is printed on it, else as a
// picture; a window given a role reads as that.
class PictureBoxAccessible : public QAccessibleWidget {
 public:
  explicit PictureBoxAccessible(PictureBox* box) : QAccessibleWidget(box, QAccessible::StaticText) {}
  QAccessible::Role role() const override {
    const auto* box = static_cast<const PictureBox*>(widget());
    return box->printedLines().isEmpty() && box->hasPicture() ? QAccessible::Graphic : QAccessible::StaticText;
  }
};

const char kRoleProperty[] = "kotobarionAccessibleRole";

QAccessibleInterface* accessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("PictureBox")) return new PictureBoxAccessible(static_cast<PictureBox*>(object));
  auto* w = qobject_cast<QWidget*>(object);
  const QVariant role = object ? object->property(kRoleProperty) : QVariant();
  if (w && role.isValid() && className == QLatin1String(object->metaObject()->className()))
    return new QAccessibleWidget(w, static_cast<QAccessible::Role>(role.toInt()));
  return nullptr;
}

void installAccessibleFactory() {
  static const bool installed = [] {
    QAccessible::installFactory(accessibleFactory);
    return true;
  }();
  (void)installed;
}
}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
  installAccessibleFactory();
  setAutoFillBackground(true);
}

void PictureBox::setSpokenText(const QString& text) {
  spoken_ = text;
  updateAccessibleName();
}

void PictureBox::setPictureName(const QString& name) {
  pictureName_ = name;
  updateAccessibleName();
}

void PictureBox::updateAccessibleName() {
  QString text = spoken_;
  if (text.isEmpty()) {
    QStringList lines;
    for (const QString& l : printedLines()) lines.append(shownPart(l));
    text = lines.join(u'\n');
  }
  if (text.isEmpty()) text = pictureName_;
  // Setting the name tells a screen reader that it changed.
  if (text != accessibleName()) setAccessibleName(text);
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_Right:
      focusNextChild();
      return;
    case Qt::Key_Up:
    case Qt::Key_Left:
      focusPreviousChild();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

bool PictureBox::loadPicture(const QString& path) {
  QImage image;
  if (!path.isEmpty() && image.load(path)) {
    picture_ = image;
    pictureFile_ = path;
    update();
    return true;
  }
  clearPicture();
  return false;
}

void PictureBox::clearPicture() {
  picture_ = QImage();
  pictureFile_.clear();
  pictureName_.clear();
  updateAccessibleName();
  update();
}

void PictureBox::setBackColor(const QColor& c) { ui::setBack(this, c); }

void PictureBox::Cls() {
  runs_.clear();
  cur_ = QPointF();
  line_ = 0;
  spoken_.clear();
  updateAccessibleName();
  update();
}

void PictureBox::setPrintPos(double x, double y) { cur_ = QPointF(toPixels(x), toPixels(y)); }

void PictureBox::Print(const QString& text, bool endLine) {
  runs_.push_back({cur_, text, fore_, printFont_, line_});
  const QFontMetricsF fm(printFont_);
  if (endLine) {
    cur_ = QPointF(0, cur_.y() + fm.height());
    ++line_;
  } else {
    cur_.rx() += fm.horizontalAdvance(shownPart(text));
  }
  updateAccessibleName();
  update();
}

void PictureBox::mousePressEvent(QMouseEvent* event) { event->accept(); }

QStringList PictureBox::printedLines() const {
  QStringList lines;
  for (const Run& r : runs_) {
    while (lines.size() <= r.line) lines.append(QString());
    lines[r.line] += r.text;
  }
  return lines;
}

std::vector<QColor> PictureBox::lineColours(int line) const {
  std::vector<QColor> colours;
  for (const Run& r : runs_)
    if (r.line == line) colours.push_back(r.colour);
  return colours;
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!picture_.isNull()) p.drawImage(QPoint(0, 0), picture_);
  for (const Run& r : runs_) {
    p.setFont(r.font);
    p.setPen(r.colour);
    const QFontMetricsF fm(r.font);
    p.drawText(QPointF(r.pos.x(), r.pos.y() + fm.ascent()), shownPart(r.text));
  }
  if (hasFocus()) ui::drawFocusFrame(&p, rect());
}

OptionArray::OptionArray(QObject* parent) : QObject(parent) { group_.setExclusive(true); }

QRadioButton* OptionArray::add(QWidget* parent, const QString& caption) {
  auto* b = new QRadioButton(caption, parent);
  const int index = static_cast<int>(buttons_.size());
  group_.addButton(b, index);
  b->installEventFilter(this);
  buttons_.push_back(b);
  connect(b, &QRadioButton::toggled, this, [this, index](bool on) {
    if (on && onClick) onClick(index);
  });
  return b;
}

void OptionArray::select(int i) { buttons_[static_cast<std::size_t>(i)]->setChecked(true); }

void OptionArray::setNeutral(int i) {
  neutral_ = i;
  buttons_[static_cast<std::size_t>(i)]->setFocusPolicy(Qt::NoFocus);
}

void OptionArray::holdInput(std::function<long long()> clock) {
  clock_ = std::move(clock);
  heldSince_ = clock_ ? clock_() : 0;
}

bool OptionArray::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      // A second press of a key or a double click meant for the screen
      // before lands here just after the question was dealt: swallowed.
      if (clock_ && clock_() - heldSince_ < kHoldMs) return true;
      break;
    default:
      break;
  }
  if (event->type() == QEvent::FocusIn) {
    // Qt leaves only the focused button of a group as a stop of the Tab
    // key. Every button stays one here: from the selected neutral entry of
    // the chapter choice an arrow key selects (and so starts) a neighbour,
    // so Tab, then Space, is how the keyboard reaches the others.
    static_cast<QObject*>(watched)->event(event);
    for (std::size_t i = 0; i < buttons_.size(); ++i)
      if (static_cast<int>(i) != neutral_) buttons_[i]->setFocusPolicy(Qt::StrongFocus);
    return true;
  }
  if (event->type() != QEvent::KeyPress || neutral_ < 0) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down) return false;
  auto* from = qobject_cast<QRadioButton*>(watched);
  if (!from) return false;
  // The nearest other button in the arrow's direction, measured between the
  // buttons' centres in the window; sideways distance counts double.
  const QPoint c = from->mapTo(from->window(), from->rect().center());
  QRadioButton* best = nullptr;
  long bestScore = 0;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    QRadioButton* b = buttons_[i];
    if (b == from || static_cast<int>(i) == neutral_ || !b->isVisible() || !b->isEnabled()) continue;
    const QPoint d = b->mapTo(b->window(), b->rect().center()) - c;
    const bool vertical = key == Qt::Key_Up || key == Qt::Key_Down;
    const bool back = key == Qt::Key_Left || key == Qt::Key_Up;
    const int along = (vertical ? d.y() : d.x()) * (back ? -1 : 1);
    const int across = vertical ? d.x() : d.y();
    // Beyond half the button itself: the next row or column, not a button
    // of the same row whose centre sits a pixel higher.
    if (along <= (vertical ? from->height() : from->width()) / 2) continue;
    const long score = static_cast<long>(along) * along + 4L * across * across;
    if (!best || score < bestScore) {
      best = b;
      bestScore = score;
    }
  }
  if (best) best->setFocus(key == Qt::Key_Left || key == Qt::Key_Up ? Qt::BacktabFocusReason : Qt::TabFocusReason);
  return true;
}

int OptionArray::selected() const { return group_.checkedId(); }

namespace ui {

void setBack(QWidget* w, const QColor& back) {
  if (!back.isValid()) return;
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, back);
  // Text boxes paint their Base, buttons their Button face; a window's own
  // colour must not leak into the text boxes it holds.
  if (qobject_cast<QAbstractScrollArea*>(w) || qobject_cast<QLineEdit*>(w)) pal.setColor(QPalette::Base, back);
  if (qobject_cast<QAbstractButton*>(w)) pal.setColor(QPalette::Button, back);
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

void setFore(QWidget* w, const QColor& fore) {
  if (!fore.isValid()) return;
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, fore);
  pal.setColor(QPalette::Text, fore);
  pal.setColor(QPalette::ButtonText, fore);
  w->setPalette(pal);
}

void place(QWidget* w, QRect geometry, const QFont& font, const QColor& fore, const QColor& back) {
  w->setGeometry(geometry);
  w->setFont(font);
  setFore(w, fore);
  setBack(w, back);
}

QLabel* label(QWidget* parent, const QString& text, QRect geometry, const QFont& font, const QColor& fore,
              const QColor& back) {
  // A label designed without a size sizes itself to its text.
  QLabel* l = geometry.width() == 0 ? new AutoSizeLabel(text, parent) : new QLabel(text, parent);
  place(l, geometry, font, fore, back);
  if (auto* a = dynamic_cast<AutoSizeLabel*>(l)) a->fit();
  return l;
}

QPushButton* button(QWidget* parent, const QString& text, QRect geometry, const QFont& font, const QColor& face) {
  auto* b = new QPushButton(text, parent);
  place(b, geometry, font, QColor(0, 0, 0), face);
  b->setAutoDefault(true);
  return b;
}

QPushButton* commandButton(QWidget* parent, const QString& text, QRect geometry, const QFont& font) {
  auto* b = new QPushButton(text, parent);
  b->setGeometry(geometry);
  b->setFont(font);
  b->setAutoDefault(true);
  return b;
}

QGroupBox* frame(QWidget* parent, const QString& title, QRect geometry, const QFont& font, const QColor& back) {
  auto* g = new QGroupBox(title, parent);
  place(g, geometry, font, QColor(0, 0, 0), back);
  return g;
}

void caption(QLabel* l, const QString& text) {
  l->setText(text);
  if (auto* a = dynamic_cast<AutoSizeLabel*>(l)) a->fit();
}

void setAccessibleRole(QWidget* w, int role) {
  installAccessibleFactory();
  w->setProperty(kRoleProperty, role);
}

namespace {
class FocusStyle : public QProxyStyle {
 public:
  FocusStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
  // Fusion marks a focused button only by a thin outline, and the others
  // only after a Tab: the frame goes round every focused button instead.
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (element == PE_FrameFocusRect) return;
    QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    QProxyStyle::drawControl(element, option, painter, widget);
    const bool button = element == CE_PushButton || element == CE_RadioButton || element == CE_CheckBox;
    if (button && (option->state & State_HasFocus)) drawFocusFrame(painter, widget ? widget->rect() : option->rect);
  }
};
}  // namespace

QStyle* makeStyle() { return new FocusStyle; }

void drawFocusFrame(QPainter* p, const QRect& r) {
  // Black outside, white inside: one of the two stands out on green, red,
  // grey, white and yellow alike.
  p->save();
  p->setBrush(Qt::NoBrush);
  p->setPen(QPen(Qt::black, 2));
  p->drawRect(QRectF(r).adjusted(1, 1, -1, -1));
  p->setPen(QPen(Qt::white, 2));
  p->drawRect(QRectF(r).adjusted(3, 3, -3, -3));
  p->restore();
}

}  // namespace ui
