#pragma once
#include "platform/device/PhoneApi.h"

#include <cstddef>

// Whether the line name in a capability record of blockSize bytes equals name. The name is
// read only where the record's filled bytes and the block both reach; a name stored anywhere
// else is no match. It ends at its terminator or at the end of its bytes.
bool LineNameIs(const LINEDEVCAPS* caps, size_t blockSize, const wchar_t* name);
