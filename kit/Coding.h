#pragma once

namespace tolvex {

class KeyedArchiver;

// An object that writes its state into a keyed archive. Its class also offers a constructor
// that reads the same keys back from a KeyedUnarchiver.
class Coding {
public:
    virtual ~Coding() = default;
    virtual void encodeWithCoder(KeyedArchiver& coder) const = 0;
};

} // namespace tolvex
