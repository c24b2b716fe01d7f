// Stand-in services for tests of the service binding. A stand-in takes its
// arguments as the 32-bit slots the host receives, keeps them, and answers a
// 32-bit value the test chose, so that the widening of arguments and the
// narrowing of results can be watched from the host's side. Put one in place
// with Host::StandIn(name, simhost::probe::Service<slot types...>()).
#pragma once

#include <cstdint>
#include <type_traits>
#include <vector>

#include "platform/platform.h"
#include "tonaropdk/hostabi.h"

namespace simhost::probe {

// What the stand-ins received: the slots of the last call (the version last,
// a pointer as its address) and the number of calls made to any of them.
struct Received {
  std::vector<std::uint64_t> slots;
  std::uint32_t calls = 0;
};

// The record of every stand-in call in this process.
Received& LastReceived();

// The 32-bit value every stand-in answers (1 until set).
void SetAnswer(std::uint32_t answer);
std::uint32_t Answer();

namespace detail {

template <class Slot>
std::uint64_t SlotValue(Slot slot) {
  if constexpr (std::is_pointer_v<Slot>)
    return std::uint64_t(reinterpret_cast<std::uintptr_t>(slot));
  else
    return std::uint64_t(std::uint32_t(slot));
}

template <class... Slots>
std::int32_t TONARO_CALL Receive(Slots... slots) {
  Received& received = LastReceived();
  received.slots = {SlotValue(slots)...};
  ++received.calls;
  return std::int32_t(Answer());
}

}  // namespace detail

// A stand-in taking arguments of these slot types (32-bit integers or
// pointers, the version last) and answering Answer(); never null.
template <class... Slots>
platform::ProcAddress Service() {
  static_assert(((std::is_pointer_v<Slots> || sizeof(Slots) == 4) && ...),
                "host arguments travel in 32-bit slots");
  return reinterpret_cast<platform::ProcAddress>(&detail::Receive<Slots...>);
}

}  // namespace simhost::probe
