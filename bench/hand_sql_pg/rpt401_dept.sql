-- Rpt401 by department: department, product and batch with each department's subtotal and the
-- total from one native rollup; the per-product subtotals are dropped by HAVING.
WITH a AS (SELECT m.FDeptID AS dept, m.FItemID AS item, m.FBatchNo AS batch, sum(m.FQty) AS q,
                  sum(m.FQty / u.FCoefficient) AS s, sum(m.FQtyFinish) AS f, sum(m.FQtyFinish / u.FCoefficient) AS fs,
                  GROUPING(m.FDeptID, m.FItemID, m.FBatchNo) AS g
           FROM ICMO m JOIN t_ICItem t ON t.FItemID = m.FItemID
           JOIN t_MeasureUnit u ON u.FMeasureUnitID = t.FStoreUnitID
           GROUP BY ROLLUP (m.FDeptID, (m.FItemID, m.FBatchNo)))
SELECT CASE a.g WHEN 0 THEN coalesce(td.FName, '') WHEN 3 THEN coalesce(td.FName, '') || '(小计)' ELSE '合计' END,
       coalesce(t.FNumber, ''), coalesce(t.FName, ''), coalesce(t.FModel, ''), coalesce(a.batch, ''),
       coalesce(bu.FName, ''), a.q, coalesce(su.FName, ''), a.s, coalesce(bu.FName, ''), a.f, coalesce(su.FName, ''),
       a.fs, coalesce(bu.FName, ''), a.q - a.f, coalesce(su.FName, ''), a.s - a.fs,
       CASE a.g WHEN 0 THEN 0 WHEN 3 THEN 102 ELSE 101 END AS sort
FROM a LEFT JOIN t_ICItem t ON t.FItemID = a.item
LEFT JOIN t_MeasureUnit bu ON bu.FMeasureUnitID = t.FUnitID
LEFT JOIN t_MeasureUnit su ON su.FMeasureUnitID = t.FStoreUnitID
LEFT JOIN t_Department td ON td.FItemID = a.dept
ORDER BY a.g = 7, coalesce(td.FName, ''), a.g, 2, 5
