// The launch service's side of the wire format: a plain document scrambled
// with the chained XOR and written as hexadecimal pairs.
#pragma once

#include <string>

// The body whose decoding gives `plain` back: byte k is scrambled as
// plain[k] XOR plain[k + 1], the last one as plain[n − 1] XOR 0x3C.
std::string EncodeServiceAnswer(const std::string& plain);
