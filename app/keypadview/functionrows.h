#pragma once

// Rows of the function list; each row shows the stack page of the same index.
enum FunctionRow {
    RowBaseKeys = 0,
    RowExtKeys = 1,
    RowMultiMedia = 2,
    RowRgbLed = 3,
    RowMouse = 4,
    RowMacro = 5,
    RowProcreate = 6,
};
