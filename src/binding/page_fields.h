#pragma once

// What the binding asks of a page (or of the header): the device value of a
// field, computed from its controls, and a device value to show in a field.
// Field numbers are the page's own.
class PageFields {
public:
    virtual ~PageFields() = default;
    // 0 for a number that is not a field.
    virtual int getField(int field) const = 0;
    // Shows the value; never reports it back as a change.
    virtual void setField(int field, int value) = 0;
};
