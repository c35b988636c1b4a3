#include "actions/site_actions.h"

#include "actions/open_address.h"
#include "actions/site_addresses.h"

void OpenHomePage() { OpenAddress(kHomeAddress); }

void OpenTutorialPage() { OpenAddress(kTutorialAddress); }
