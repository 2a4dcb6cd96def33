#pragma once

#include <string>
#include <vector>

#include "DeviceListEntry.h"

// Lists the USB-serial ttys (ttyUSB*, ttyACM*) that sysfs knows, each with the
// product string of the USB device it belongs to. Only sysfs is read, never
// udev's database or /dev/serial/by-id (udev rewrites those names), so a
// listing costs a directory read and a few small files.
//
// Order: ttyACM before ttyUSB, then by number (ttyUSB2 before ttyUSB10), so the
// driver index of a port does not depend on readdir order.
// A port whose USB device has no product string is listed with an empty
// description.
std::vector<DeviceListEntry> ListUsbSerialPorts(const std::string& sysfsRoot,
                                                const std::string& devRoot = "/dev");

// The product string for the tty whose sysfs `device` link is `deviceLink`:
// walks up from the resolved link to the USB device folder (the first holding
// idVendor). False when there is no such folder or it has no product.
bool ReadUsbProduct(const std::string& deviceLink, std::string& product);
