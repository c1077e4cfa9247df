#include "checks/local/secure_screen_saver.h"

#include "platform/registry_win32.h"
#include "platform/scoped_win32.h"

SecureScreenSaverFacts QuerySecureScreenSaverFacts()
{
    SecureScreenSaverFacts facts;
    // The user's own settings: HKEY_CURRENT_USER is not split into views.
    ScopedRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return facts;
    facts.keyOpened = true;
    facts.active = ReadRegValueText(key.Get(), "ScreenSaveActive");
    facts.timeOutSeconds = ReadRegValueText(key.Get(), "ScreenSaveTimeOut");
    facts.program = ReadRegValueText(key.Get(), "SCRNSAVE.EXE");
    facts.isSecure = ReadRegValueText(key.Get(), "ScreenSaverIsSecure");
    return facts;
}

void CheckSecureScreenSaver(TestResult& result)
{
    GradeSecureScreenSaver(QuerySecureScreenSaverFacts(), result);
}
