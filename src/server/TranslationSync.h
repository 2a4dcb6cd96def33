#pragma once

#include "TamrixSDK.h"

class CTranslationList;

// Replaces `translations` with the records of `connection`'s last complete
// synchronisation, in the library's order: duplicates stay, the first is
// the one found. A record without a short id gets 0.
void ReplaceTranslations(ptc_handle_t connection, CTranslationList& translations);
