// The selected printers with their jobs, settings, class keys and USB
// device nodes, and a new default printer when the default one goes.
#pragma once

#include <cstdint>

#include "removal/removal_context.h"

// Removes every printer with keep, foreign and removed all 0, setting its
// `removed` mark once it is gone; connections go with
// DeletePrinterConnectionA alone. When the default printer went, the last
// printer left alone in list order becomes the default (message 160), or
// the user is told that none is left (message 159).
void RemovePrinters(RemovalContext& context);

// Makes `name` (a 260-byte buffer; null or empty: the first printer the
// spooler lists, copied back into a given buffer) the default printer:
// the default attribute, win.ini's [windows] "device" entry, and the
// WM_WININICHANGE broadcast. Non-zero when it was made the default.
int MakeDefaultPrinter(RemovalContext& context, char* name);

// Removes the device nodes of a USB printer: those whose hardware id
// begins with `hardwareId` (or, when that is null or empty, with
// "USB\VID_vvvv&PID_pppp"), with their USBPRINT child or USB parent; an
// identifier that matches nothing is tried again in the VID/PID form.
void RemoveUsbDevice(RemovalContext& context, const char* hardwareId, std::uint32_t vendor,
                     std::uint32_t product);
