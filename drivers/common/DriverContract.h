// SPDX-License-Identifier: GPL-3.0-or-later
/* The driver library's entry points as the program resolves them by name. Both driver libraries,
   the program's loader and the test stand-ins include this one header, so that a prototype that
   drifts breaks the build instead of a run. Plain C: anyone can build a driver for the program. */
#pragma once

#include <stdint.h>

/* The platform's C calling convention. Named, so that every prototype and every pointer the loader
   takes of them carries the same one. */
#define ZRV_DRIVER_CALL

/* What a driver library exports; it is built with everything else hidden. */
#define ZRV_DRIVER_EXPORT __attribute__((visibility("default")))

/* The pipe handle of a failed open. */
#define ZRV_PIPE_FAILED ((void*)(intptr_t)-1)
#define ZRV_DIRECTION_READ 1u
#define ZRV_DIRECTION_WRITE 0u

/* Why a call failed, as the optional ZrvDriverLastFailure answers it. */
#define ZRV_FAILURE_NONE 0u
#define ZRV_FAILURE_BAD_ARGUMENT 1u  /* a handle, selector, direction or buffer the library cannot use */
#define ZRV_FAILURE_NOT_FOUND 2u     /* no such instrument attached */
#define ZRV_FAILURE_NO_PERMISSION 3u /* the device file may not be opened by this user */
#define ZRV_FAILURE_BUSY 4u          /* another program holds the instrument */
#define ZRV_FAILURE_DISCONNECTED 5u  /* the instrument went away */
#define ZRV_FAILURE_TIMEOUT 6u
#define ZRV_FAILURE_STALL 7u /* the endpoint stalled; the library cleared it */
#define ZRV_FAILURE_IO 8u

#ifdef __cplusplus
extern "C" {
#endif

ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL _MPUSBGetDLLVersion(void);
ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL _MPUSBGetDeviceCount(const char* vid_pid);
/* direction: 1 read, 0 write. ZRV_PIPE_FAILED on failure. */
ZRV_DRIVER_EXPORT void* ZRV_DRIVER_CALL _MPUSBOpen(uint32_t instance, const char* vid_pid,
                                                   const char* endpoint, uint32_t direction,
                                                   uint32_t reserved);
/* The transfers and the rest answer nonzero on success. */
ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL _MPUSBRead(void* pipe, void* data, uint32_t length,
                                                      uint32_t* received, uint32_t timeout_ms);
ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL _MPUSBReadInt(void* pipe, void* data, uint32_t length,
                                                         uint32_t* received, uint32_t timeout_ms);
ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL _MPUSBWrite(void* pipe, const void* data, uint32_t length,
                                                       uint32_t* sent, uint32_t timeout_ms);
ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL _MPUSBClose(void* pipe);
ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL _MPUSBSetConfiguration(void* pipe, uint16_t configuration);
ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL _MPUSBGetStringDescriptor(void* pipe, uint8_t index,
                                                                     uint16_t language, void* data,
                                                                     uint32_t length, uint32_t* received);

/* Optional, beyond the nine: why the most recent call of this library failed (ZRV_FAILURE_*), or
   ZRV_FAILURE_NONE after one that succeeded. A library without it works; its failures go unexplained. */
ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL ZrvDriverLastFailure(void);

#ifdef __cplusplus
}
#endif

/* The nine required entry points in the order the loader resolves them, each with a short name for
   the loader's table: X(exported name, short name). */
#define ZRV_DRIVER_ENTRY_POINTS(X)                                                                           \
    X(_MPUSBGetDLLVersion, GetDllVersion)                                                                    \
    X(_MPUSBGetDeviceCount, GetDeviceCount)                                                                  \
    X(_MPUSBOpen, Open)                                                                                      \
    X(_MPUSBRead, Read)                                                                                      \
    X(_MPUSBReadInt, ReadInt)                                                                                \
    X(_MPUSBWrite, Write)                                                                                    \
    X(_MPUSBClose, Close)                                                                                    \
    X(_MPUSBSetConfiguration, SetConfiguration)                                                              \
    X(_MPUSBGetStringDescriptor, GetStringDescriptor)
