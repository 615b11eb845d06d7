#pragma once

#include "device/src/CKeyDefine.h"
#include "device/src/CKeyboardDefine.h"

#include <quillodev/KeyCounts.h>
#include <quillodev/MessageTarget.h>

#include <array>
#include <memory>

class CKeyboardUtil;

// The keyboard's command protocol and the library's image of the keyboard: one key definition
// record per key and layer, the backlight colours and the press counters.
class CNubo : public CKeyboardDefine {
public:
    static constexpr int KeyCount = quillodev::KeyCount;
    static constexpr int SlotCount = quillodev::SlotCount;
    static constexpr int LightAreaSize = 324;
    static constexpr int CounterAreaSize = 432;
    static constexpr int PayloadSize = 64;
    static constexpr int ReportSize = PayloadSize + 1;

    explicit CNubo(CKeyboardUtil *transport);
    ~CNubo() override;
    CNubo(const CNubo &) = delete;
    CNubo &operator=(const CNubo &) = delete;

    const wchar_t *productId() const override { return L"5030"; }
    const wchar_t *vendorId() const override { return L"0483"; }

    // Slot of key 1..108 on protocol layer 1..2, or -1 outside the table.
    static int slotOf(int layer, int key);

    bool writeKeyDefinitions(WindowHandle window);
    bool readKeyDefinitions(WindowHandle window);
    bool writeLightArea(const int *values);
    bool readLightArea();
    bool readPressCounters();

    // Replaces the slot's record (null empties it); false for a slot outside the table.
    bool setRecord(int slot, std::unique_ptr<CKeyDefine> record);
    const CKeyDefine *record(int slot) const;
    void clearDefinitions();

    std::array<std::unique_ptr<CKeyDefine>, SlotCount> DefinitionTable;
    unsigned char LightArea[LightAreaSize] = {};
    unsigned char CounterArea[CounterAreaSize] = {};

private:
    bool sendCommand(unsigned char command);
    bool sendPayload(const unsigned char *payload);
    bool readPayload(unsigned char *payload);
    bool sendEmptyRecord(int layer, int key);
    bool readArea(unsigned char command, unsigned char dataMarker, unsigned char *area,
                  int areaSize);
    enum class RecordRead { Decoded, UnknownType, Damaged, ReadFailed };
    // The record whose first block is `first`, reading a macro's further blocks and counting
    // them in `reports`; null unless `outcome` is Decoded.
    std::unique_ptr<CKeyDefine> readRecord(const unsigned char *first, long &reports,
                                           RecordRead &outcome);

    CKeyboardUtil *m_transport;
};
