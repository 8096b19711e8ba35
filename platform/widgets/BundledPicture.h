#pragma once

#include <QIcon>
#include <QImage>
#include <QString>
#include <QStringList>

// A picture built into the launcher, by its resource path (":/pictures/flag_pl.bmp"), read by
// the reader its extension names alone. Left to guess the format, the toolkit would first load
// its other image readers to look at the file, which costs the start time and memory.
QImage bundledPicture(const QString& resource);

// An icon drawn at several sizes, one built-in picture each. The pictures are decoded on a
// thread of their own from the call on, while the windows are built; the icon's first use, when
// the first window is shown, waits for them.
QIcon bundledIcon(const QStringList& resources);
