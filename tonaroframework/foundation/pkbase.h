// The root of every framework class: class name, identity test, user data and
// the flag helpers used on host data blocks.
#pragma once

#include <cstdint>

class __PKBase {
 public:
  __PKBase() = default;

  // Answers the class's own name as constant text.
  virtual const char* ClassName() { return "__PKBase"; }
  // Answers whether `other` is identical to this object; the root answers true.
  virtual bool IsIdentical(__PKBase* other);
  // Destruction is virtual from here on, so deleting through a __PKBase* runs
  // the full destruction of the actual class.
  virtual ~__PKBase() = default;

  // Answers the caller's untyped user-data pointer (null until set).
  void* GetUserData() const { return _userData; }
  // Stores an untyped pointer that the framework never interprets.
  void SetUserData(void* data) { _userData = data; }

  // Sets (on) or clears (off) every bit of `mask` in `word`; a null word is left alone.
  static void Set16BitFlag(std::uint16_t* word, std::uint16_t mask, bool on);
  // Sets (on) or clears (off) every bit of `mask` in the 32-bit `word`; a null word is left alone.
  static void Set32BitFlag(std::uint32_t* word, std::uint32_t mask, bool on);

 private:
  void* _userData = nullptr;
};
