// The token test behind "Local Admin".
#pragma once

#include "checks/accounts/local_admin.h"

// True when the caller's token (the thread's, or the process's when the
// thread has none) is granted access by a descriptor that admits only the
// built-in Administrators group; false on any refusal or failure.
bool IsLocalAdmin();

LocalAdminFacts QueryLocalAdminFacts();
