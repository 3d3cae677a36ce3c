#pragma once

#include <cstdint>

struct wl_interface;

// ext_data_control_v1 took wlroots' data-control protocol over unchanged (the same requests, events and
// arguments in the same order), so one client serves both, given the interfaces of the one bound.
struct DataControlInterfaces {
    const wl_interface* manager;
    const wl_interface* source;
    const wl_interface* device;
    const wl_interface* offer;
};

extern const DataControlInterfaces kExtDataControl;
extern const DataControlInterfaces kWlrDataControl;

// Opcodes of the requests, the same in both.
namespace data_control {
constexpr std::uint32_t kCreateDataSource = 0;  // manager
constexpr std::uint32_t kGetDataDevice = 1;     // manager
constexpr std::uint32_t kDestroyManager = 2;    // manager
constexpr std::uint32_t kSetSelection = 0;      // device
constexpr std::uint32_t kDestroyDevice = 1;     // device
constexpr std::uint32_t kOffer = 0;             // source
constexpr std::uint32_t kDestroySource = 1;     // source
constexpr std::uint32_t kDestroyOffer = 1;      // offer
}  // namespace data_control
