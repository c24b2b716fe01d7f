#include "simhost/testservices.h"

namespace simhost::probe {
namespace {

std::uint32_t gAnswer = 1;

}  // namespace

Received& LastReceived() {
  static Received received;
  return received;
}

void SetAnswer(std::uint32_t answer) { gAnswer = answer; }

std::uint32_t Answer() { return gAnswer; }

}  // namespace simhost::probe
