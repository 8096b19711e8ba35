#include "platform/widgets/WindowsListOrder.h"

#include <QCollator>
#include <QLocale>
#include <QString>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
// The order as the collator gives it, names equal in it following their bytes.
std::vector<std::string> collatorOrder(std::vector<std::string> names) {
    QCollator collator(QLocale(QLocale::Polish, QLocale::Poland));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        const int order = collator.compare(QString::fromStdString(a), QString::fromStdString(b));
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}
} // namespace

// Names of printable ASCII are sorted without the collator: every such character, alone, in
// pairs and before a longer name, lands where the collator puts it.
TEST(WindowsListOrder, PrintableAsciiNamesSortAsTheCollatorSortsThem) {
    std::vector<std::string> names;
    for (char a = ' '; a <= '~'; ++a) {
        names.push_back(std::string(1, a) + "z.scn");
        for (char b = ' '; b <= '~'; ++b) names.push_back({a, b});
    }
    std::vector<std::string> sorted = names;
    sortAsWindowsLists(sorted);
    EXPECT_EQ(sorted, collatorOrder(names));
}
