#include "app/config_messages.h"

#include "platform/window.h"

namespace {

constexpr const char* kCaption = "error";

}  // namespace

void TellLoadOutcome(const LoadOutcome& outcome)
{
    if (const char* text = OutcomeText(outcome)) PlatformMessageBox(text, kCaption);
}

bool TellSaveOutcome(const SaveOutcome& outcome)
{
    const char* text = OutcomeText(outcome);
    if (text == nullptr) return true;
    // A full disk may fail several parts of one save: one box for each.
    const int boxes = outcome.kind == SaveOutcome::NOT_WRITTEN ? outcome.failedParts : 1;
    for (int box = 0; box < boxes; ++box) PlatformMessageBox(text, kCaption);
    return false;
}
