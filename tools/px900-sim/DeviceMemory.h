#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The stored results of the virtual device: one list of "key;value" lines
// per record, in storage order.
using DeviceRecord = QStringList;
using DeviceMemory = QList<DeviceRecord>;

// Reads a memory file: records separated by empty lines, each line of a
// record one "key;value" line, lines starting with # are comments. UTF-8.
// False with a message when the file cannot be read.
bool LoadDeviceMemory(const QString& strPath, DeviceMemory& memory, QString& strError);

// Writes the memory in the file format above.
QString FormatDeviceMemory(const DeviceMemory& memory);

// Realistic records of every kind from one 230/400 V three-phase metering
// installation with 150/5 A current transformers.
DeviceMemory DemoMemory();

// Repeats the memory cyclically up to nCount records; every repetition is
// shifted by whole days so that no two records share ID, date and time.
DeviceMemory CycleMemory(const DeviceMemory& memory, int nCount);
