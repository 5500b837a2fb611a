// The listing's host: the console's fields, and the unpaired characters
// printed before the message that ends the run.
#include "console/listing_host.hpp"

namespace vellicor::console {
namespace {

FieldAnswer get_listing_field(void* context, FieldId id, char* buffer, std::uint32_t size) {
  if (context == nullptr) return FieldAnswer::kBadRequest;
  return get_extended_console_field(&static_cast<ListingRun*>(context)->request, id, buffer, size);
}

void report_after_listing(void* context, const char* text) {
  if (context == nullptr) return;
  auto& run = *static_cast<ListingRun*>(context);
  // The glyph lines are all out when the cut reports; the characters left of
  // a list that names more than the picture holds follow them.
  print_unpaired_characters(run.style);
  extended_console_callbacks().report_message(&run.request, text);
}

// A listing shows no busy display.
constexpr HostCallbacks kListingCallbacks = {
    nullptr,
    nullptr,
    &report_after_listing,
    &get_listing_field,
};

}  // namespace

const HostCallbacks& listing_console_callbacks() { return kListingCallbacks; }

}  // namespace vellicor::console
