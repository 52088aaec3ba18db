#pragma once

// Set-up shared by the fuzz targets: a throw-away home and settings store, the English
// catalogue, and a presenter that swallows messages so the fuzzer's output stays readable.
namespace FuzzSupport {

void Initialise();

} // namespace FuzzSupport
