#pragma once

// Makes the next `count` allocations of a level fail, as if memory ran out,
// after `skip` more have succeeded. Levels are allocated with the
// non-throwing new; nothing else is affected.
void FailLevelAllocations(int count, int skip = 0);
