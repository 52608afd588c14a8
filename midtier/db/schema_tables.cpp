// Version 1 of the schema: every table of the company database with its keys.
#include "midtier/db/schema_sql.h"

namespace db::schema {

// Conventions of all tables:
// - Names follow the ERP's SQL Server tables; SQLite compares names without regard to
//   case, so "t_ICItem" and "T_ICItem" are the same table.
// - Dates are TEXT 'YYYY-MM-DD' (times 'YYYY-MM-DD HH:MM:SS'), so they compare and sort
//   as text; a missing date is NULL.
// - Quantities and amounts are REAL. Amounts are rounded to the currency scale
//   (t_SystemProfile GL/CurrencyScale = 2); quantities to the item's FQtyDecimal.
// - Quantities named FQty... are in the item's base unit (t_ICItem.FUnitID); FAuxQty...
//   are in the unit of the row's FUnitID: FQty = FAuxQty * t_MeasureUnit.FCoefficient.
// - An id of 0 means "none" where a link is optional (FCheckerID, FOrderInterID, ...).
const std::string_view kTablesV1 = R"SQL(
-- Base data of every class, one row per node of each class tree.
-- Item classes (FItemClassID): 1 customer, 2 department, 3 employee, 4 item/material,
-- 5 stock, 8 supplier. Customers, departments, employees, stocks and suppliers are flat
-- (FLevel 1, FDetail 1, FParentID 0). Items (class 4) form a tree three to four levels
-- deep: class nodes (FDetail 0) are numbered "01", "01.02", "01.02.03", "01.02.03.01";
-- a detail item (FDetail 1) is a leaf numbered parent FNumber + "." + a four-digit
-- sequence ("01.02.0007"), FShortNumber is its last segment ("0007") and its FLevel is
-- its parent's plus one. FFullNumber always equals FNumber, so the ancestor of a detail
-- item at level L is the prefix of FNumber before the L-th '.', found again as the row
-- with that FNumber, FItemClassID 4 and FDetail 0.
CREATE TABLE t_Item (
  FItemID      INTEGER PRIMARY KEY,          -- unique over all classes
  FItemClassID INTEGER NOT NULL,
  FParentID    INTEGER NOT NULL DEFAULT 0,   -- FItemID of the class node above; 0 at the top
  FNumber      TEXT    NOT NULL,             -- long number, segments joined by '.'
  FShortNumber TEXT    NOT NULL,             -- last segment of FNumber
  FFullNumber  TEXT    NOT NULL,             -- = FNumber
  FName        TEXT    NOT NULL,
  FLevel       INTEGER NOT NULL DEFAULT 1,   -- 1 at the top of the class tree
  FDetail      INTEGER NOT NULL DEFAULT 1    -- 1 detail row, 0 class node
);
CREATE UNIQUE INDEX ux_t_Item_Class_Number ON t_Item (FItemClassID, FNumber);
CREATE INDEX ix_t_Item_FNumber ON t_Item (FNumber);

-- Units of measure. Each group has one base unit (coefficient 1); FCoefficient is how
-- many base units one of this unit holds (箱 = 100 个, 吨 = 1000 千克).
CREATE TABLE t_UnitGroup (
  FUnitGroupID  INTEGER PRIMARY KEY,
  FNumber       TEXT    NOT NULL UNIQUE,
  FName         TEXT    NOT NULL,
  FDefaultUnitID INTEGER NOT NULL            -- the group's base unit
);
CREATE TABLE t_MeasureUnit (
  FMeasureUnitID INTEGER PRIMARY KEY,
  FUnitGroupID   INTEGER NOT NULL REFERENCES t_UnitGroup (FUnitGroupID),
  FNumber        TEXT    NOT NULL UNIQUE,
  FName          TEXT    NOT NULL,
  FCoefficient   REAL    NOT NULL            -- base units per one of this unit
);

-- Details of the detail items of class 4 (products and materials).
CREATE TABLE t_ICItem (
  FItemID        INTEGER PRIMARY KEY REFERENCES t_Item (FItemID),
  FNumber        TEXT    NOT NULL,           -- as t_Item
  FShortNumber   TEXT    NOT NULL,
  FName          TEXT    NOT NULL,
  FModel         TEXT    NOT NULL DEFAULT '',-- model / size (规格型号)
  FErpClsID      INTEGER NOT NULL,           -- 1 purchased material, 2 self-made product,
                                             -- 4 virtual/feature item (not a product)
  FUnitGroupID   INTEGER NOT NULL REFERENCES t_UnitGroup (FUnitGroupID),
  FUnitID        INTEGER NOT NULL,           -- base unit
  FStoreUnitID   INTEGER NOT NULL,           -- common (stock) unit
  FProductUnitID INTEGER NOT NULL,           -- usual production unit
  FQtyDecimal    INTEGER NOT NULL DEFAULT 0, -- decimal places of quantities
  FPriceDecimal  INTEGER NOT NULL DEFAULT 2  -- decimal places of prices
);

-- Departments and employees (salesmen, workshop staff).
CREATE TABLE t_Department (
  FItemID INTEGER PRIMARY KEY REFERENCES t_Item (FItemID),
  FNumber TEXT    NOT NULL,
  FName   TEXT    NOT NULL
);
CREATE TABLE t_Emp (
  FItemID       INTEGER PRIMARY KEY REFERENCES t_Item (FItemID),
  FNumber       TEXT    NOT NULL,
  FName         TEXT    NOT NULL,
  FDepartmentID INTEGER NOT NULL DEFAULT 0   -- t_Department.FItemID
);

-- Auxiliary properties of production (colours); ICMO.FAuxPropID, 0 = none.
CREATE TABLE t_AuxItem (
  FItemID INTEGER PRIMARY KEY,
  FNumber TEXT    NOT NULL UNIQUE,
  FName   TEXT    NOT NULL
);

-- The three rights-bearing base tables. FRightUserID lists the user ids allowed to see
-- the row, comma-enclosed (",16394,16395,"), tested with CharIndex('16395',FRightUserID).
CREATE TABLE t_organization (                -- customers
  FItemID      INTEGER PRIMARY KEY REFERENCES t_Item (FItemID),
  FNumber      TEXT    NOT NULL,
  FName        TEXT    NOT NULL,
  FRightUserID TEXT    NOT NULL DEFAULT ''
);
CREATE TABLE t_supplier (
  FItemID      INTEGER PRIMARY KEY REFERENCES t_Item (FItemID),
  FNumber      TEXT    NOT NULL,
  FName        TEXT    NOT NULL,
  FRightUserID TEXT    NOT NULL DEFAULT ''
);
CREATE TABLE t_stock (
  FItemID      INTEGER PRIMARY KEY REFERENCES t_Item (FItemID),
  FNumber      TEXT    NOT NULL,
  FName        TEXT    NOT NULL,
  FRightUserID TEXT    NOT NULL DEFAULT ''
);

-- Users and whether each is restricted on a kind of data right
-- (FKind 1 organization, 2 supplier, 4 stock). No row means unrestricted.
CREATE TABLE t_User (
  FUserID INTEGER PRIMARY KEY,
  FName   TEXT    NOT NULL
);
CREATE TABLE t_DataRight (
  FUserID     INTEGER NOT NULL REFERENCES t_User (FUserID),
  FKind       INTEGER NOT NULL,
  FRestricted INTEGER NOT NULL DEFAULT 0,    -- 1: the user sees only rows listing him
  PRIMARY KEY (FUserID, FKind)
);

-- Sales orders.
CREATE TABLE SEOrder (
  FInterID   INTEGER PRIMARY KEY,
  FBillNo    TEXT    NOT NULL,               -- "SO-000123"
  FDate      TEXT    NOT NULL,
  FCustID    INTEGER NOT NULL,               -- t_organization.FItemID
  FDeptID    INTEGER NOT NULL DEFAULT 0,     -- t_Department.FItemID
  FEmpID     INTEGER NOT NULL DEFAULT 0,     -- t_Emp.FItemID
  FCheckerID INTEGER NOT NULL DEFAULT 0,     -- t_User.FUserID; 0 = not checked
  FClosed    INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE SEOrderEntry (
  FInterID INTEGER NOT NULL REFERENCES SEOrder (FInterID),
  FEntryID INTEGER NOT NULL,                 -- 1, 2, ... within the order
  FItemID  INTEGER NOT NULL,                 -- t_ICItem.FItemID
  FUnitID  INTEGER NOT NULL,                 -- unit of FAuxQty and FPrice
  FAuxQty  REAL    NOT NULL,
  FQty     REAL    NOT NULL,                 -- base unit
  FPrice   REAL    NOT NULL,                 -- per FUnitID
  FAmount  REAL    NOT NULL,                 -- FAuxQty * FPrice
  FDate    TEXT    NOT NULL,                 -- delivery date
  PRIMARY KEY (FInterID, FEntryID)
) WITHOUT ROWID;

-- Production task orders (生产任务单).
-- State as of the demo's "today" 2026-11-30: FStatus 0 planned (not started, FStartDate
-- NULL), 1 released (started or not; FFinishDate NULL), 3 finished (FFinishDate set).
-- FClosed 1 marks a finished task that is closed (结案). A task whose FPlanFinishDate
-- has passed while FFinishDate is NULL is overdue.
CREATE TABLE ICMO (
  FInterID        INTEGER PRIMARY KEY,
  FBillNo         TEXT    NOT NULL,          -- "WORK000123"
  FTranType       INTEGER NOT NULL DEFAULT 85,
  FDate           TEXT    NOT NULL,          -- bill date
  FItemID         INTEGER NOT NULL,          -- product, t_ICItem.FItemID
  FAuxPropID      INTEGER NOT NULL DEFAULT 0,-- t_AuxItem.FItemID, 0 = none
  FBatchNo        TEXT    NOT NULL DEFAULT '',
  FUnitID         INTEGER NOT NULL,          -- unit the quantity was entered in
  FAuxQty         REAL    NOT NULL,          -- planned quantity in FUnitID
  FQty            REAL    NOT NULL,          -- planned quantity, base unit
  FPlanCommitDate TEXT    NOT NULL,          -- planned start (开工)
  FPlanFinishDate TEXT    NOT NULL,
  FStartDate      TEXT,                      -- actual start, NULL until started
  FFinishDate     TEXT,                      -- actual finish, NULL while open
  FQtyFinish      REAL    NOT NULL DEFAULT 0,-- finished, base unit
  FStockQty       REAL    NOT NULL DEFAULT 0,-- put into stock, base unit; equals the sum
                                             -- of its product receipt entries
  FDeptID         INTEGER NOT NULL DEFAULT 0,-- producing department
  FEmpID          INTEGER NOT NULL DEFAULT 0,-- salesman
  FOrderInterID   INTEGER NOT NULL DEFAULT 0,-- SEOrder.FInterID, 0 = not for an order
  FOrderEntryID   INTEGER NOT NULL DEFAULT 0,-- SEOrderEntry.FEntryID
  FCheckerID      INTEGER NOT NULL DEFAULT 0,-- t_User.FUserID; 0 = not checked
  FCheckDate      TEXT,
  FStatus         INTEGER NOT NULL DEFAULT 0,
  FClosed         INTEGER NOT NULL DEFAULT 0,
  FNote           TEXT    NOT NULL DEFAULT ''-- memo (摘要)
);

-- Stock bills: product receipts (FTranType 2, "CIN000123", into FDCStockID) and
-- production material issues (FTranType 24, "SOUT000123", out of FSCStockID).
CREATE TABLE ICStockBill (
  FInterID   INTEGER PRIMARY KEY,
  FBillNo    TEXT    NOT NULL,
  FTranType  INTEGER NOT NULL,
  FDate      TEXT    NOT NULL,
  FDeptID    INTEGER NOT NULL DEFAULT 0,
  FDCStockID INTEGER NOT NULL DEFAULT 0,     -- receiving stock (receipts)
  FSCStockID INTEGER NOT NULL DEFAULT 0,     -- issuing stock (issues)
  FCheckerID INTEGER NOT NULL DEFAULT 0      -- 0 = not checked
);
CREATE TABLE ICStockBillEntry (
  FInterID      INTEGER NOT NULL REFERENCES ICStockBill (FInterID),
  FEntryID      INTEGER NOT NULL,
  FItemID       INTEGER NOT NULL,            -- product (receipts) or material (issues)
  FUnitID       INTEGER NOT NULL,
  FAuxQty       REAL    NOT NULL,
  FQty          REAL    NOT NULL,            -- base unit
  FBatchNo      TEXT    NOT NULL DEFAULT '', -- the task's batch on receipts
  FICMOInterID  INTEGER NOT NULL DEFAULT 0,  -- ICMO.FInterID the row belongs to
  FPPBomEntryID INTEGER NOT NULL DEFAULT 0,  -- issues: PPBOM.FEntryID of that task's PPBOM
  PRIMARY KEY (FInterID, FEntryID)
) WITHOUT ROWID;

-- Planned material of each task (投料单): one PPBOM per task, FInterID equal to the
-- task's FInterID, entries 1, 2, ... Issues (ICStockBillEntry with the same
-- FICMOInterID and FPPBomEntryID = FEntryID) may differ from FQtyMust.
CREATE TABLE PPBOM (
  FInterID     INTEGER NOT NULL,
  FEntryID     INTEGER NOT NULL,
  FICMOInterID INTEGER NOT NULL,             -- ICMO.FInterID
  FItemID      INTEGER NOT NULL,             -- material, t_ICItem.FItemID
  FUnitID      INTEGER NOT NULL,             -- unit the material is planned in
  FQtyPer      REAL    NOT NULL,             -- base units of material per base unit of product
  FStandardQty REAL    NOT NULL,             -- ICMO.FQty * FQtyPer, base unit
  FQtyMust     REAL    NOT NULL,             -- planned issue, base unit (standard + scrap)
  PRIMARY KEY (FInterID, FEntryID)
) WITHOUT ROWID;

-- Accounting periods (calendar months).
CREATE TABLE t_PeriodDate (
  FYear        INTEGER NOT NULL,
  FPeriod      INTEGER NOT NULL,
  FPeriodStart TEXT    NOT NULL,
  FPeriodEnd   TEXT    NOT NULL,
  PRIMARY KEY (FYear, FPeriod)
);

-- Product cost per period, product and batch: work in progress of the batch from its
-- first start to its last receipt. For every row FPeriodStart + FCurIn - FCurOut =
-- FPeriodEnd (quantities and amounts), and a row's FPeriodEnd equals the FPeriodStart of
-- the same product and batch in the next period (across year ends). A product/batch
-- has rows only for periods in which it had work in progress or movement.
CREATE TABLE cb_ProductPeriodCost (
  FYear            INTEGER NOT NULL,
  FPeriod          INTEGER NOT NULL,
  FItemID          INTEGER NOT NULL,         -- product
  FBatchNo         TEXT    NOT NULL DEFAULT '',
  FPeriodStartNum  REAL    NOT NULL DEFAULT 0,
  FPeriodStartCost REAL    NOT NULL DEFAULT 0,
  FCurInNum        REAL    NOT NULL DEFAULT 0,-- put into production this period
  FCurInCost       REAL    NOT NULL DEFAULT 0,
  FCurOutNum       REAL    NOT NULL DEFAULT 0,-- received into stock this period
  FCurOutCost      REAL    NOT NULL DEFAULT 0,
  FPeriodEndNum    REAL    NOT NULL DEFAULT 0,
  FPeriodEndCost   REAL    NOT NULL DEFAULT 0
);
-- The cost elements; FElementID 1..7 map to the detail report's fields FMarterialFee,
-- FAuxMarterialFee, FWorkFee, FMakingFee, FDepreciationFee, FWaterElecFee, FOtherFee.
CREATE TABLE cb_CostElementDef (
  FElementID INTEGER PRIMARY KEY,
  FName      TEXT    NOT NULL
);
-- The output cost of a cb_ProductPeriodCost row split by element: the seven amounts of a
-- (year, period, product, batch) sum to its FCurOutCost. Rows without output have none.
CREATE TABLE cb_CostElement (
  FYear      INTEGER NOT NULL,
  FPeriod    INTEGER NOT NULL,
  FItemID    INTEGER NOT NULL,
  FBatchNo   TEXT    NOT NULL DEFAULT '',
  FElementID INTEGER NOT NULL REFERENCES cb_CostElementDef (FElementID),
  FAmount    REAL    NOT NULL DEFAULT 0
);

-- System settings, text values: GL/PeriodCount, GL/CurrencyScale, IC/UseShortNumber
-- (0 = long numbers), IC/CurrentYear, IC/CurrentPeriod.
CREATE TABLE t_SystemProfile (
  FCategory TEXT NOT NULL,
  FKey      TEXT NOT NULL,
  FValue    TEXT,
  PRIMARY KEY (FCategory, FKey)
);

-- Usage log written by the reports ("SysRptLog0043", type 3, "...查询").
CREATE TABLE t_Log (
  FID     INTEGER PRIMARY KEY AUTOINCREMENT,
  FTime   TEXT    NOT NULL,                  -- 'YYYY-MM-DD HH:MM:SS'
  FUserID INTEGER NOT NULL DEFAULT 0,
  FLogID  TEXT    NOT NULL,
  FType   INTEGER NOT NULL DEFAULT 0,
  FText   TEXT    NOT NULL DEFAULT ''
);

-- Saved schemes of the report filter grid, per report and user.
CREATE TABLE t_RptFilterScheme (
  FID         INTEGER PRIMARY KEY,
  FRptID      INTEGER NOT NULL,
  FUserID     INTEGER NOT NULL,
  FName       TEXT    NOT NULL,
  FIsDefault  INTEGER NOT NULL DEFAULT 0,
  FContent    TEXT    NOT NULL DEFAULT '',   -- the serialized filter dictionary
  FModifyTime TEXT    NOT NULL,              -- 'YYYY-MM-DD HH:MM:SS'
  UNIQUE (FRptID, FUserID, FName)
);
)SQL";

}  // namespace db::schema
