#pragma once

#include <QString>
#include <QTextDocument>

// A tooltip is drawn as markup whenever its text looks like markup; a text from a file is
// escaped, so that it always shows as written.
inline QString plainToolTip(const QString& text) {
    return text.isEmpty() ? QString() : Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap);
}
