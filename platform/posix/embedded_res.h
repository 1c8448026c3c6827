// The compiled resources, embedded by the build (see CMakeLists.txt).
#pragma once
#include <cstddef>
#include <cstdint>
extern "C" const unsigned char gw_embedded_res[];
extern "C" const size_t gw_embedded_res_size;
