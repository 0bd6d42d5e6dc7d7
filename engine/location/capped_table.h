// The location tables count at most one entry short of their capacity: a further entry is
// written into the last slot and not counted.
#pragma once

template <typename Count>
int NextCappedSlot(Count& count, int capacity) {
    if (count < 0) count = 0;
    if (count < capacity - 1) {
        const int slot = count;
        count = static_cast<Count>(count + 1);
        return slot;
    }
    return capacity - 1;
}
