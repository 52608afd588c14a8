-- Rpt499 per product and batch, run once per period ($1 year, $2 period), with the period's total.
WITH b AS (SELECT c.* FROM cb_ProductPeriodCost c WHERE c.FYear = $1 AND c.FPeriod = $2)
SELECT i.FNumber, b.FBatchNo, i.FName, i.FModel, u.FName, b.FPeriodStartNum, b.FPeriodStartCost, b.FCurInNum,
       b.FCurInCost, b.FCurOutNum, b.FCurOutCost, b.FPeriodEndNum, b.FPeriodEndCost, 0 AS sort
FROM b JOIN t_ICItem i ON i.FItemID = b.FItemID LEFT JOIN t_MeasureUnit u ON u.FMeasureUnitID = i.FUnitID
UNION ALL
SELECT '合计', '', '', '', '', sum(FPeriodStartNum), sum(FPeriodStartCost), sum(FCurInNum), sum(FCurInCost),
       sum(FCurOutNum), sum(FCurOutCost), sum(FPeriodEndNum), sum(FPeriodEndCost), 101 FROM b
ORDER BY sort, 1, 2
