#pragma once
// The Dialogs group: the enumerations and sets of the common dialogs, the
// message kinds, buttons and modal results, and InputBox, InputQuery and
// MessageDlg, which ask through the host's user interface (a window, or
// the terminal). The dialog classes themselves come with the host's
// dialogs. One registering party.

#include "script/binding/registration_owner.h"

namespace script {

class TfsDialogsGroup : public TfsRegistrationOwner {
public:
    explicit TfsDialogsGroup(TfsScript& scope);
};

} // namespace script
