#pragma once

#include <string>
#include <vector>

// Sorts file names into the order of the player's Windows lists: by the names as shown, ignoring
// case, in Polish collation, so that "ł" follows "l"; names equal in that order follow their
// bytes. Names all of printable ASCII, as most installations have, are sorted by that order's
// own table of those characters; the collator is built only for a list with another character.
void sortAsWindowsLists(std::vector<std::string>& names);
