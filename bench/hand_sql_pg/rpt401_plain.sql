-- Rpt401, one row per product and batch over every task, with the total from the same grouping.
WITH a AS (SELECT m.FItemID AS item, m.FBatchNo AS batch, sum(m.FQty) AS q, sum(m.FQty / u.FCoefficient) AS s,
                  sum(m.FQtyFinish) AS f, sum(m.FQtyFinish / u.FCoefficient) AS fs
           FROM ICMO m JOIN t_ICItem t ON t.FItemID = m.FItemID
           JOIN t_MeasureUnit u ON u.FMeasureUnitID = t.FStoreUnitID
           GROUP BY GROUPING SETS ((m.FItemID, m.FBatchNo), ()))
SELECT coalesce(t.FNumber, '合计'), coalesce(t.FName, ''), coalesce(t.FModel, ''), coalesce(a.batch, ''),
       coalesce(bu.FName, ''), a.q, coalesce(su.FName, ''), a.s, coalesce(bu.FName, ''), a.f, coalesce(su.FName, ''),
       a.fs, coalesce(bu.FName, ''), a.q - a.f, coalesce(su.FName, ''), a.s - a.fs,
       CASE WHEN a.item IS NULL THEN 101 ELSE 0 END AS sort
FROM a LEFT JOIN t_ICItem t ON t.FItemID = a.item
LEFT JOIN t_MeasureUnit bu ON bu.FMeasureUnitID = t.FUnitID
LEFT JOIN t_MeasureUnit su ON su.FMeasureUnitID = t.FStoreUnitID
ORDER BY sort, 1, 4
