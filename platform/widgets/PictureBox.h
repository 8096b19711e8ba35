#pragma once

#include "platform/widgets/ClickTracker.h"
#include "platform/pictures/PictureFile.h"

#include <QImage>
#include <QWidget>
#include <string>

// The picture control the windows place with setGeometry. Without stretch the picture is drawn
// at the top-left corner at its own size and clipped by the control; with stretch it is brought
// to the control's size with a good filter (see PictureScaling.h). With auto size the control
// takes the picture's own size and keeps its top-left corner. An empty control draws nothing, so
// its container shows through. A picture given a focus policy answers Space and Enter as a click,
// as a button does.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Loads a picture file (see loadPictureFile). Unless it loads, the previous picture stays
    // and *error, when given, receives the message; once it loads, *error is emptied. A
    // stretched control keeps the picture only at the size it shows it, made as it loads, so
    // it is given its size first.
    PictureLoad::Outcome load(const std::string& path, std::string* error = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

    void setStretch(bool stretch);
    bool stretch() const { return stretch_; }

    void setAutoSize(bool autoSize);
    bool autoSize() const { return autoSize_; }

signals:
    // A left button pressed and released inside the control.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fitToPicture();

    QImage picture_;
    QImage scaled_; // a set picture stretched to the current size, made when first painted
    bool stretch_ = false;
    bool autoSize_ = false;
    ClickTracker clicks_;
};
