// The output run's choice per layer: output or not, and with which tool slot.
#pragma once

#include <cstdint>

constexpr int kLayerTableRows = 480;

struct LayerRow {
    int16_t fOutput;     // 1 = the layer is output
    int16_t wTool;       // tool slot 1..10
    char szName[64];     // layer title, at most 63 characters
};

struct LayerTable {
    int32_t iCount;
    LayerRow aRow[kLayerTableRows];
};

// All act on g->pLayerTable and do nothing (or answer 0) without one.
void AddLayerRow(int16_t fOutput, const char* name, int16_t wTool);
void GetLayerRow(int16_t n, int16_t* fOutput, char* name, int16_t* wTool);
void SetLayerRow(int16_t n, int16_t fOutput, const char* name, int16_t wTool);
int32_t CountLayerRows();
