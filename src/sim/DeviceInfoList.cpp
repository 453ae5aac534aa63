#include "sim/DeviceInfoList.h"

#include <cstring>
#include <cwchar>

namespace tdxx::sim {
namespace {

char* CopyNarrow(const std::string& text) {
  auto* copy = new char[text.size() + 1];
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

wchar_t* CopyWide(const std::wstring& text) {
  auto* copy = new wchar_t[text.size() + 1];
  std::wmemcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

}  // namespace

DeviceInfoList::~DeviceInfoList() {
  FreeDeviceInfoList(head_);
}

void DeviceInfoList::Add(const DeviceInfoEntry& entry) {
  auto* info = new hid_device_info{};
  info->path = CopyNarrow(entry.path);
  info->vendor_id = entry.vendorId;
  info->product_id = entry.productId;
  info->serial_number = CopyWide(entry.serialNumber);
  info->release_number = entry.releaseNumber;
  info->manufacturer_string = CopyWide(entry.manufacturer);
  info->product_string = CopyWide(entry.product);
  info->usage_page = entry.usagePage;
  info->usage = entry.usage;
  info->interface_number = entry.interfaceNumber;
  info->bus_type = entry.busType;
  *tail_ = info;
  tail_ = &info->next;
}

hid_device_info* DeviceInfoList::Release() {
  hid_device_info* list = head_;
  head_ = nullptr;
  tail_ = &head_;
  return list;
}

void FreeDeviceInfoList(hid_device_info* devices) {
  while (devices != nullptr) {
    hid_device_info* next = devices->next;
    delete[] devices->path;
    delete[] devices->serial_number;
    delete[] devices->manufacturer_string;
    delete[] devices->product_string;
    delete devices;
    devices = next;
  }
}

std::wstring WidenBytes(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    wide[i] = static_cast<unsigned char>(text[i]);
  return wide;
}

}  // namespace tdxx::sim
