// Temporary: replaced by the transport implementation.
#include "hid/HidTransport.h"
namespace tdxx {
struct HidTransport::State {};
HidTransport::HidTransport(HidLibraryBinder&, Clock&) : state_(std::make_unique<State>()) {}
HidTransport::~HidTransport() = default;
}  // namespace tdxx
