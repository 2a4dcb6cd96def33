#include "TranslationSync.h"

#include <cstring>

#include "TranslationList.h"

void ReplaceTranslations(ptc_handle_t connection, CTranslationList& translations)
{
    translations.RemoveAll();
    for (const ptc_transponder_t* record = ptc_transponder_get_head(connection); record != nullptr;
         record = ptc_transponder_get_next(connection)) {
        const uint32_t shortId = record->short_id == PTC_SHORT_ID_NONE ? 0 : record->short_id;
        // The label runs past the declared array, NUL-terminated within the
        // library's limit.
        translations.AddTail(
            {record->id, shortId, std::string(record->label, strnlen(record->label, PTC_LABEL_MAX))});
    }
}
