#pragma once

#include <hidapi/hidapi.h>

#include <string>

namespace tdxx::sim {

// What a stand-in for hidapi tells of one interface (one top-level collection) when it lists
// the bus.
struct DeviceInfoEntry {
  std::string path;
  unsigned short vendorId = 0;
  unsigned short productId = 0;
  std::wstring serialNumber;
  unsigned short releaseNumber = 0;
  std::wstring manufacturer;
  std::wstring product;
  unsigned short usagePage = 0;
  unsigned short usage = 0;
  int interfaceNumber = 0;
  hid_bus_type busType = HID_API_BUS_UNKNOWN;
};

// Builds the linked list hid_enumerate returns, in the order the entries are added. The list
// belongs to the caller of Release(), who gives it back to FreeDeviceInfoList.
class DeviceInfoList {
 public:
  DeviceInfoList() = default;
  ~DeviceInfoList();
  DeviceInfoList(const DeviceInfoList&) = delete;
  DeviceInfoList& operator=(const DeviceInfoList&) = delete;

  void Add(const DeviceInfoEntry& entry);
  // The list built so far (nullptr when empty); this builder is empty afterwards.
  hid_device_info* Release();

 private:
  hid_device_info* head_ = nullptr;
  hid_device_info** tail_ = &head_;
};

// Frees a list made by DeviceInfoList, as hid_free_enumeration does.
void FreeDeviceInfoList(hid_device_info* devices);

// A text of single bytes made wide one byte to one character (bytes above 0x7F keep their
// value), as the recordings keep hidapi's strings.
std::wstring WidenBytes(const std::string& text);

}  // namespace tdxx::sim
