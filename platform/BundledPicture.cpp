#include "platform/BundledPicture.h"

#include <QFileInfo>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>

#include <utility>

namespace {

struct SizedPicture {
    QSize size;
    QString resource;
};

class BundledIconEngine : public QIconEngine {
public:
    explicit BundledIconEngine(QList<SizedPicture> pictures) : pictures_(std::move(pictures)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        const SizedPicture* best = bestFor(size);
        if (!best) return {};
        QPixmap drawn = QPixmap::fromImage(bundledPicture(best->resource));
        const QSize fitted = fit(best->size, size);
        if (!drawn.isNull() && drawn.size() != fitted)
            drawn = drawn.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return drawn;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const SizedPicture* best = bestFor(size);
        return best ? fit(best->size, size) : QSize();
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const SizedPicture& picture : pictures_) sizes << picture.size;
        return sizes;
    }

    QIconEngine* clone() const override { return new BundledIconEngine(pictures_); }

private:
    // The smallest picture that covers the size, or else the largest.
    const SizedPicture* bestFor(const QSize& size) const {
        const auto area = [](const SizedPicture& p) {
            return qint64{p.size.width()} * p.size.height();
        };
        const SizedPicture* covering = nullptr;
        const SizedPicture* largest = nullptr;
        for (const SizedPicture& picture : pictures_) {
            if (!largest || area(picture) > area(*largest)) largest = &picture;
            const bool covers =
                picture.size.width() >= size.width() && picture.size.height() >= size.height();
            if (covers && (!covering || area(picture) < area(*covering))) covering = &picture;
        }
        return covering ? covering : largest;
    }

    // A picture larger than the size asked for is drawn smaller, keeping its proportions.
    static QSize fit(const QSize& picture, const QSize& size) {
        if (picture.width() <= size.width() && picture.height() <= size.height()) return picture;
        return picture.scaled(size, Qt::KeepAspectRatio);
    }

    QList<SizedPicture> pictures_;
};

} // namespace

QImage bundledPicture(const QString& resource) {
    QImageReader reader(resource, QFileInfo(resource).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QIcon bundledIcon(const QStringList& resources) {
    QList<SizedPicture> pictures;
    for (const QString& resource : resources) {
        QImageReader reader(resource, QFileInfo(resource).suffix().toLatin1());
        reader.setAutoDetectImageFormat(false);
        // Only the header is read here.
        const QSize size = reader.size();
        if (size.isValid()) pictures.push_back({size, resource});
    }
    return QIcon(new BundledIconEngine(std::move(pictures)));
}
