#include "platform/widgets/PictureBox.h"

#include "platform/pictures/PictureScaling.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The windows name their pictures for screen readers; a plain widget would be announced as a
// client area.
QAccessibleInterface* accessibleGraphic(const QString& className, QObject* object) {
    if (className == QLatin1String(PictureBox::staticMetaObject.className()) &&
        object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    return nullptr;
}

} // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleGraphic);
        return true;
    }();
    (void)factoryInstalled;
}

PictureLoad::Outcome PictureBox::load(const std::string& path, std::string* error) {
    const QSize shownAt = stretch_ ? (QSizeF(size()) * devicePixelRatioF()).toSize() : QSize();
    PictureLoad loaded = loadPictureFile(path, shownAt);
    if (error != nullptr) *error = loaded.error;
    if (loaded.ok()) setPicture(loaded.image);
    return loaded.outcome;
}

void PictureBox::setPicture(const QImage& picture) {
    picture_ = picture;
    scaled_ = QImage();
    if (autoSize_) fitToPicture();
    update();
}

void PictureBox::setStretch(bool stretch) {
    if (stretch_ == stretch) return;
    stretch_ = stretch;
    scaled_ = QImage();
    update();
}

void PictureBox::setAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize_) fitToPicture();
}

// An empty picture leaves the size alone, as there is nothing to take a size from.
void PictureBox::fitToPicture() {
    if (!picture_.isNull()) resize(picture_.size());
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    if (!stretch_) {
        painter.drawImage(QPoint(0, 0), picture_);
        return;
    }
    // A loaded picture already has the control's size; one set otherwise is brought to it once
    // per size. Either is drawn one device pixel for one.
    const QSize target = (QSizeF(size()) * devicePixelRatioF()).toSize();
    if (picture_.size() != target && scaled_.size() != target)
        scaled_ = resampledPicture(picture_, target);
    painter.drawImage(rect(), picture_.size() == target ? picture_ : scaled_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (!clicks_.press(event)) QWidget::mousePressEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const ClickTracker::Release release = clicks_.release(event, rect());
    if (release == ClickTracker::Release::NotLeftButton) QWidget::mouseReleaseEvent(event);
    if (release == ClickTracker::Release::Click) emit clicked();
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
    if (!pressesLikeAButton(event)) {
        QWidget::keyPressEvent(event);
        return;
    }
    // A held key clicks once.
    if (!event->isAutoRepeat()) emit clicked();
    event->accept();
}
