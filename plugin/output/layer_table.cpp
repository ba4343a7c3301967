#include "plugin/output/layer_table.h"

#include <cstring>

#include "plugin/entry/plugin_globals.h"

namespace {

void FillRow(LayerRow& row, int16_t fOutput, const char* name, int16_t wTool)
{
    row.fOutput = fOutput;
    row.wTool = wTool;
    std::memset(row.szName, 0, sizeof row.szName);
    if (name != nullptr)
        std::strncpy(row.szName, name, sizeof row.szName - 1);
}

}  // namespace

void AddLayerRow(int16_t fOutput, const char* name, int16_t wTool)
{
    LayerTable* table = g->pLayerTable;
    if (table == nullptr || table->iCount < 0 || table->iCount >= kLayerTableRows)
        return;
    FillRow(table->aRow[table->iCount], fOutput, name, wTool);
    table->iCount++;
}

void GetLayerRow(int16_t n, int16_t* fOutput, char* name, int16_t* wTool)
{
    *fOutput = 0;
    name[0] = '\0';
    *wTool = 0;
    const LayerTable* table = g->pLayerTable;
    if (table == nullptr || n < 0 || n >= table->iCount)
        return;
    *fOutput = table->aRow[n].fOutput;
    std::memcpy(name, table->aRow[n].szName, sizeof table->aRow[n].szName);
    name[63] = '\0';
    *wTool = table->aRow[n].wTool;
}

void SetLayerRow(int16_t n, int16_t fOutput, const char* name, int16_t wTool)
{
    LayerTable* table = g->pLayerTable;
    if (table == nullptr || n < 0 || n >= table->iCount)
        return;
    FillRow(table->aRow[n], fOutput, name, wTool);
}

int32_t CountLayerRows()
{
    return g->pLayerTable == nullptr ? 0 : g->pLayerTable->iCount;
}
