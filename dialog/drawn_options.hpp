// The fields a drawing's conversion options set: the console's options, as
// "-d 2 --grid 6x13 --marks", read into the texts the driver asks the fields
// for, so the Preview window sets its fields as the console would answer.
#pragma once

#include <QByteArray>
#include <string>
#include <utility>
#include <vector>

#include "driver/host_callbacks.hpp"

namespace vellicor::dialog {

// One field and the text the console gives the driver for it.
using FieldText = std::pair<FieldId, QByteArray>;

// The fields options name, in their order. A letter option ("-d") takes the
// next argument as its value unless that begins with a dash or there is none;
// alone, -w gives "1" and every other letter "0", as the console answers. A
// long option takes "--name=value" or the next argument; --grid gives the
// layout and the cell, --marks the layout, --proportional "1". Options no
// field answers (--chars-file and the like, which the window sets apart) are
// left out.
std::vector<FieldText> fields_of_options(const std::vector<std::string>& options);

}  // namespace vellicor::dialog
