#pragma once

#include "platform/system/Language.h"

#include <string>

// The words that more than one window, box or message shows, each written once. A window's title
// is here too, as the button that opens the window is captioned with it.
namespace Words {

inline constexpr BilingualText Yes{"Tak", "Yes"};
inline constexpr BilingualText No{"Nie", "No"};
inline constexpr BilingualText Cancel{"Anuluj", "Cancel"};

inline constexpr BilingualText MainWindowTitle = inBoth("Torvia RSIM-424");
inline constexpr BilingualText TimetableTitle{"Rozkład jazdy", "Timetable"};
inline constexpr BilingualText AboutTitle{"O programie", "About"};
inline constexpr BilingualText OptionsTitle{"Opcje", "Options"};

// The system's reason for a failure, by its error number (errno), in the interface language where
// it is one that players meet most, and in the system's own words otherwise.
std::string systemReason(Language language, int error);

} // namespace Words
