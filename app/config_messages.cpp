#include "app/config_messages.h"

#include "app/switch_hold.h"
#include "platform/window.h"

namespace {

constexpr const char* kCaption = "error";

// Nothing switches while a box is open; the reload it belongs to finishes first.
void Tell(const char* text)
{
    HoldSwitching();
    PlatformMessageBox(text, kCaption);
    ReleaseSwitching();
}

}  // namespace

void TellLoadOutcome(const LoadOutcome& outcome)
{
    if (const char* text = OutcomeText(outcome)) Tell(text);
}

bool TellSaveOutcome(const SaveOutcome& outcome)
{
    const char* text = OutcomeText(outcome);
    if (text == nullptr) return true;
    // A full disk may fail several parts of one save: one box for each.
    const int boxes = outcome.kind == SaveOutcome::NOT_WRITTEN ? outcome.failedParts : 1;
    for (int box = 0; box < boxes; ++box) Tell(text);
    return false;
}
