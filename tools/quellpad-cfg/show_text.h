// The configuration written out as TOML, in a fixed order so that two dumps
// diff cleanly.
#pragma once

#include <string>

#include "config/binding_fields.h"
#include "tools/quellpad-cfg/config_image.h"

// The nine settings, where a file that ends inside them ends (fileEnd), the
// bytes the file holds beyond what the program writes (fileTail, when there
// are any), then one table per binding that is on, holds any byte other
// than zero (so nothing of the file is lost) or has a behaviour; then the
// same for each layer that holds anything. With all, one table for every
// slot of both ports, in the base and in each layer that holds anything.
std::string ShowConfig(const ConfigImage& image, bool all);

// The lines of one binding's table body, without its header. A field is left
// out when it is zero and says nothing: a missing field reads back as zero,
// and a missing `on` as on.
std::string ShowBinding(const ActionRecord& record);

// One field's value as the text form writes it.
std::string FieldText(const ActionRecord& record, const BindingField& field);
