#pragma once
// Who makes the program and where schools reach them.
namespace velmont::commands {

inline constexpr const char* kMakerName = "Tarnwick Systems Ltd";
inline constexpr const char* kMakerInfoEmail = "info@tarnwick-systems.example";
inline constexpr const char* kMakerSupportEmail = "support@tarnwick-systems.example";
inline constexpr const char* kMakerAddress1 = "PO Box 4417, Harbour Quay";
inline constexpr const char* kMakerAddress2 = "Velmont 3150";
inline constexpr const char* kMakerPhone = "Phone (07) 555 0142";
inline constexpr const char* kMakerFax = "Fax (07) 555 0143";

}  // namespace velmont::commands
