#include "platform/widgets/BundledPicture.h"

#include <QFileInfo>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>

#include <future>
#include <utility>

namespace {

class BundledIconEngine : public QIconEngine {
public:
    explicit BundledIconEngine(std::shared_future<QList<QImage>> pictures)
        : pictures_(std::move(pictures)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        const qsizetype best = bestFor(size);
        if (best < 0) return {};
        if (pixmaps_.isEmpty()) pixmaps_.resize(pictures_.get().size());
        QPixmap& drawn = pixmaps_[best];
        if (drawn.isNull()) drawn = QPixmap::fromImage(pictures_.get()[best]);
        const QSize fitted = fit(drawn.size(), size);
        return drawn.size() == fitted
                   ? drawn
                   : drawn.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const qsizetype best = bestFor(size);
        return best < 0 ? QSize() : fit(pictures_.get()[best].size(), size);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const QImage& picture : pictures_.get()) sizes << picture.size();
        return sizes;
    }

    QIconEngine* clone() const override { return new BundledIconEngine(pictures_); }

private:
    // The smallest picture that covers the size, or else the largest.
    qsizetype bestFor(const QSize& size) const {
        const QList<QImage>& pictures = pictures_.get();
        const auto area = [&](qsizetype i) {
            return qint64{pictures[i].width()} * pictures[i].height();
        };
        qsizetype covering = -1, largest = -1;
        for (qsizetype i = 0; i < pictures.size(); ++i) {
            if (largest < 0 || area(i) > area(largest)) largest = i;
            const bool covers =
                pictures[i].width() >= size.width() && pictures[i].height() >= size.height();
            if (covers && (covering < 0 || area(i) < area(covering))) covering = i;
        }
        return covering >= 0 ? covering : largest;
    }

    // A picture larger than the size asked for is drawn smaller, keeping its proportions.
    static QSize fit(const QSize& picture, const QSize& size) {
        if (picture.width() <= size.width() && picture.height() <= size.height()) return picture;
        return picture.scaled(size, Qt::KeepAspectRatio);
    }

    std::shared_future<QList<QImage>> pictures_;
    QList<QPixmap> pixmaps_; // made from the pictures on the first use of each
};

// In the format a pixmap keeps, which then shares the pictures' pixels.
QList<QImage> readIconPictures(const QStringList& resources) {
    QList<QImage> read;
    for (const QString& resource : resources) {
        QImage picture =
            bundledPicture(resource).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (!picture.isNull()) read << std::move(picture);
    }
    return read;
}

} // namespace

QImage bundledPicture(const QString& resource) {
    QImageReader reader(resource, QFileInfo(resource).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QIcon bundledIcon(const QStringList& resources) {
    std::shared_future<QList<QImage>> pictures =
        std::async(std::launch::async, readIconPictures, resources).share();
    return QIcon(new BundledIconEngine(std::move(pictures)));
}
