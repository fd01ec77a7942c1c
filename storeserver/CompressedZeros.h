#pragma once
// Compressed streams of zero bytes that expand far beyond their size, for
// fixtures that must stay harmless unless a client decodes them whole. One
// compressed piece is repeated, so even gigabytes cost milliseconds to make.

#include <cstdint>
#include <string>

// A gzip file (RFC 1952) of pieces * pieceBytes zero bytes.
std::string gzipOfZeros(uint64_t pieceBytes, uint32_t pieces);
// A zlib stream (RFC 1950) of pieces * pieceBytes zero bytes.
std::string zlibOfZeros(uint64_t pieceBytes, uint32_t pieces);
