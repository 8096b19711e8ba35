#include "platform/widgets/FocusMark.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFocusFrame>
#include <QPainter>
#include <QPointer>
#include <QRect>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

namespace {

const char* const AreaProperty = "rsimFocusMarkArea";
const char* const ObjectName = "rsimFocusMarks";
const QColor RingColour(0, 0, 128);
constexpr int RingWidth = 2;

// A focus frame, which screen readers do not list among the control's children, drawn and placed
// by FocusMarks rather than by the style.
class FocusRing : public QFocusFrame {
public:
    FocusRing() { setAttribute(Qt::WA_TransparentForMouseEvents); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(RingColour, RingWidth));
        const qreal inset = RingWidth / 2.0;
        painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
    }
};

// Moves the ring to each control that takes the focus.
class FocusMarks : public QObject {
public:
    explicit FocusMarks(QApplication* application) : QObject(application) {
        setObjectName(QLatin1String(ObjectName));
        connect(application, &QApplication::focusChanged, this,
                [this](QWidget*, QWidget* now) { follow(now); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == control_ &&
            (event->type() == QEvent::Resize || event->type() == QEvent::Move))
            place();
        return false;
    }

private:
    void follow(QWidget* control) {
        if (control_) control_->removeEventFilter(this);
        control_ = control;
        if (!control) {
            if (ring_) ring_->hide();
            return;
        }
        if (!ring_) ring_ = new FocusRing;
        // Beside the control, so that a ring may stand round a control as well as in it.
        ring_->setParent(control->isWindow() ? control : control->parentWidget());
        control->installEventFilter(this);
        place();
        ring_->raise();
        ring_->show();
    }

    // The marked part of the control, cut to what the ring's containers show of it.
    void place() {
        QRect area = control_->property(AreaProperty).toRect();
        if (auto* box = qobject_cast<QCheckBox*>(control_)) area = captionArea(box);
        if (!area.isValid()) area = control_->rect();
        QWidget* parent = ring_->parentWidget();
        area.translate(control_->mapTo(parent, QPoint(0, 0)));
        for (const QWidget* inner = parent; inner; inner = inner->parentWidget()) {
            area &= QRect(parent->mapFrom(inner, QPoint(0, 0)), inner->size());
            if (inner->isWindow()) break;
        }
        ring_->setGeometry(area);
    }

    // A check box's ring goes round its caption, leaving its box as it is.
    static QRect captionArea(const QCheckBox* box) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        const QRect caption =
            box->style()->subElementRect(QStyle::SE_CheckBoxFocusRect, &option, box);
        return caption.isEmpty() ? QRect() : caption.adjusted(-2, -2, 2, 2) & box->rect();
    }

    QPointer<QWidget> control_;
    QPointer<FocusRing> ring_;
};

} // namespace

void showFocusMarks() {
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (application &&
        !application->findChild<QObject*>(QLatin1String(ObjectName), Qt::FindDirectChildrenOnly))
        new FocusMarks(application);
}

void setFocusMarkArea(QWidget* control, const QRect& area) {
    control->setProperty(AreaProperty, area);
}
