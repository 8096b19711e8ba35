#pragma once

#include <QFont>
#include <QStringList>

// The fonts the windows were designed with, mapped to installed fonts of the same metrics so
// that no caption is clipped.
enum class DesignedFace { MsSansSerif, Arial, Courier };

QFont designedFont(DesignedFace face, int pixelHeight, bool bold = false);

// The font of the windows' own texts, which their message boxes share.
QFont windowFont();
