#include "platform/BundledPicture.h"

#include <QFileInfo>
#include <QImageReader>

QImage bundledPicture(const QString& resource) {
    QImageReader reader(resource, QFileInfo(resource).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}
