#include "layout/widgets.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <map>

#include "questions/plainfile.h"

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
const char kNameProperty[] = "kotobarionAccessibleName";

// An item of a menu bar read by a name of its own (its caption spaced out
// would be spelled letter by letter); pressing it triggers it.
class MenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  MenuItemAccessible(QMenuBar* bar, QAction* action) : bar_(bar), action_(action) {}
  bool isValid() const override { return bar_ && action_; }
  QObject* object() const override { return action_; }
  QWindow* window() const override { return bar_ ? bar_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(bar_); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name && action_ ? action_->property(kNameProperty).toString() : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return {};
    const QRect r = bar_->actionGeometry(action_);
    return QRect(bar_->mapToGlobal(r.topLeft()), r.size());
  }
  QAccessible::Role role() const override { return QAccessible::MenuItem; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.focusable = true;
    s.focused = isValid() && bar_->activeAction() == action_;
    s.disabled = isValid() && !action_->isEnabled();
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override {
    if (name == pressAction() && action_) action_->trigger();
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QPointer<QMenuBar> bar_;
  QPointer<QAction> action_;
};

QAccessibleInterface* accessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("PictureBox")) return new PictureBoxAccessible(static_cast<PictureBox*>(object));
  if (className == QLatin1String("QAction") && object->property(kNameProperty).isValid())
    if (auto* bar = qobject_cast<QMenuBar*>(object->parent()))
      return new MenuItemAccessible(bar, static_cast<QAction*>(object));
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

void PictureBox::mute() {
  muted_ = true;
  setAccessibleDescription(QString());
  updateAccessibleName();
}

void PictureBox::updateAccessibleName() {
  QString text = spoken_;
  if (text.isEmpty()) {
    QStringList lines;
    for (const QString& l : printedLines()) lines.append(shownPart(l));
    text = lines.join(lineBreak_);
  }
  if (text.isEmpty()) text = pictureName_;
  if (muted_) text.clear();
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

namespace {

// A picture beside the program may have been replaced with anything: it is
// read through PlainFile, so a pipe or a device never blocks the program,
// and only up to this size. The program's own pictures (":/…") come from its
// resources.
constexpr qint64 kMaxPictureBytes = 16 * 1024 * 1024;

bool readPicture(const QString& path, QImage* image) {
  if (path.startsWith(u':')) return image->load(path);
  QByteArray bytes;
  return PlainFile::readUpTo(path, kMaxPictureBytes + 1, &bytes) && bytes.size() <= kMaxPictureBytes &&
         image->loadFromData(bytes);
}

}  // namespace

bool PictureBox::loadPicture(const QString& path) {
  QImage image;
  if (!path.isEmpty() && readPicture(path, &image)) {
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
  muted_ = false;
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
    if (on && onClick && !selectingFromCode_) onClick(index);
  });
  return b;
}

void OptionArray::select(int i) {
  selectingFromCode_ = true;
  buttons_[static_cast<std::size_t>(i)]->setChecked(true);
  selectingFromCode_ = false;
}

void OptionArray::choose(int i) { buttons_[static_cast<std::size_t>(i)]->setChecked(true); }

void OptionArray::setNeutral(int i) {
  neutral_ = i;
  arrowsMove_ = true;
  buttons_[static_cast<std::size_t>(i)]->setFocusPolicy(Qt::NoFocus);
}

void OptionArray::holdInput(std::function<long long()> clock, QWidget* keepFocus) {
  clock_ = std::move(clock);
  heldSince_ = clock_ ? clock_() : 0;
  keepFocus_ = keepFocus;
}

namespace {
bool answersKey(int key) {
  return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Select;
}
}  // namespace

bool OptionArray::eventFilter(QObject* watched, QEvent* event) {
  // A second press of a key or a double click meant for the screen before
  // lands here just after the question was dealt: what would answer is
  // swallowed, and a new press is told by a short sound.
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (!answersKey(key->key()) || !holding()) break;
      if (event->type() == QEvent::KeyPress && !key->isAutoRepeat() && onHeld) onHeld();
      return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      if (!holding()) break;
      if (event->type() == QEvent::MouseButtonPress && onHeld) onHeld();
      return true;
    case QEvent::FocusIn:
      // The focus a held-back click gives goes back to the question.
      if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason && keepFocus_ && keepFocus_->isVisible() &&
          holding()) {
        keepFocus_->setFocus(Qt::OtherFocusReason);
        return true;
      }
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
  if (event->type() != QEvent::KeyPress || !arrowsMove_) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  auto* from = qobject_cast<QRadioButton*>(watched);
  if (!from) return false;
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && neutral_ < 0) {
    from->click();
    return true;
  }
  if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down) return false;
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

void setAccessibleName(QAction* menuItem, const QString& name) {
  installAccessibleFactory();
  menuItem->setProperty(kNameProperty, name);
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
    if (!button || !(option->state & State_HasFocus)) return;
    const QRect r = widget ? widget->rect() : option->rect;
    QRegion clear(r);
    // The frame leaves the caption's column of an option alone: a caption
    // as tall as its button (the kanji of chapter 1) would merge with it.
    const auto* b = qstyleoption_cast<const QStyleOptionButton*>(option);
    const bool tall = b && option->fontMetrics.tightBoundingRect(b->text).height() > r.height() - 6;
    if (b && element != CE_PushButton && tall) {
      const QRect contents =
          subElementRect(element == CE_RadioButton ? SE_RadioButtonContents : SE_CheckBoxContents, option, widget);
      clear -= QRect(contents.left() - 1, r.top(), option->fontMetrics.horizontalAdvance(b->text) + 3, r.height());
    }
    painter->save();
    painter->setClipRegion(clear);
    drawFocusFrame(painter, r);
    painter->restore();
  }
};
}  // namespace

QStyle* makeStyle() { return new FocusStyle; }

namespace {
class KeyRepeatGuard : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!key->isAutoRepeat()) {
      if (event->type() == QEvent::KeyPress)
        down_[key->key()] = w->window();
      else
        down_.erase(key->key());
      return false;
    }
    const auto it = down_.find(key->key());
    return it == down_.end() || it->second != w->window();
  }

 private:
  std::map<int, QPointer<QWidget>> down_;
};
}  // namespace

void guardKeyRepeats() {
  static KeyRepeatGuard* guard = [] {
    auto* g = new KeyRepeatGuard;
    QCoreApplication::instance()->installEventFilter(g);
    return g;
  }();
  (void)guard;
}

void drawFocusFrame(QPainter* p, const QRect& r) {
  // Black outside, white inside: one of the two stands out on green, red,
  // grey, white and yellow alike.
  p->save();
  p->setBrush(Qt::NoBrush);
  p->setPen(QPen(Qt::black, 3));
  p->drawRect(QRectF(r).adjusted(1.5, 1.5, -1.5, -1.5));
  p->setPen(QPen(Qt::white, 2));
  p->drawRect(QRectF(r).adjusted(4, 4, -4, -4));
  p->restore();
}

}  // namespace ui
