// The root of every framework class: class name, identity test, user data and
// the flag helpers used on host data blocks.
#pragma once

#include <cstdint>

class __PKBase {
 public:
  __PKBase() = default;
  virtual ~__PKBase() = default;

  // Answers the class's own name.
  virtual const char* ClassName() { return "__PKBase"; }
  // Answers whether `other` is identical to this object; the root answers true.
  virtual bool IsIdentical(__PKBase* other);

  void* GetUserData() const { return _userData; }
  void SetUserData(void* data) { _userData = data; }

  // Sets (on) or clears (off) every bit of `mask` in `word`.
  static void Set16BitFlag(std::uint16_t* word, std::uint16_t mask, bool on);
  static void Set32BitFlag(std::uint32_t* word, std::uint32_t mask, bool on);

 private:
  void* _userData = nullptr;
};
