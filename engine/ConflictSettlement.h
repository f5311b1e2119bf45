#pragma once
// Conflicts settled for a whole analysis at once (the command line's --prefer), as the user would
// settle each of them in the file detail dialog.
#include <optional>
#include <string_view>

#include "engine/AppView.h"
#include "engine/Session.h"

namespace tandrel {

enum class PreferredCopy { Usb, Pc, Newer };

// "usb", "pc" or "newer"; nullopt for any other text.
std::optional<PreferredCopy> PreferredCopyNamed(std::string_view text);

// Gives every conflict of session.Archivos the dialog's copy choice: "C1" (the stick's copy goes to
// the PC), "C2" (the PC's copy goes to the stick), or for Newer the one of the newer copy; two
// copies of the same last-write time stay a conflict. The counts follow, as after the dialog.
// Returns how many entries were settled.
int SettleConflicts(Session& session, AppView& view, PreferredCopy preferred);

}  // namespace tandrel
