#pragma once

#include "binding/binding_table.h"

// The microphone page's answer to which microphones its edits go to and
// which one it shows; the binding asks at every write and every refresh.
class MicrophoneChoice {
public:
    virtual ~MicrophoneChoice() = default;
    virtual BindingTable::Microphones microphones() const = 0;
};
