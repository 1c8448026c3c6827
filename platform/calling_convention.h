// Calling conventions of the host interface. The exports are stdcall and the
// host's callback is cdecl on the 32-bit plug-in; natively both are the
// platform's only convention.
#pragma once
#if defined(_WIN32) && !defined(_WIN64)
#define GW_STDCALL __stdcall
#define GW_CDECL __cdecl
#else
#define GW_STDCALL
#define GW_CDECL
#endif
