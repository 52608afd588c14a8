-- Rpt401 by department: department, product and batch aggregated once, each department's
-- subtotal derived from those rows, then the total.
WITH a AS (SELECT m.FDeptID AS dept, m.FItemID AS item, m.FBatchNo AS batch, sum(m.FQty) AS q,
                  sum(m.FQty / u.FCoefficient) AS s, sum(m.FQtyFinish) AS f, sum(m.FQtyFinish / u.FCoefficient) AS fs
           FROM ICMO m JOIN t_ICItem t ON t.FItemID = m.FItemID
           JOIN t_MeasureUnit u ON u.FMeasureUnitID = t.FStoreUnitID
           GROUP BY m.FDeptID, m.FItemID, m.FBatchNo),
n AS (SELECT a.*, ifnull(td.FName, '') AS dn, t.FNumber AS num, t.FName AS nm, t.FModel AS md,
             bu.FName AS bun, su.FName AS sun
      FROM a JOIN t_ICItem t ON t.FItemID = a.item
      LEFT JOIN t_MeasureUnit bu ON bu.FMeasureUnitID = t.FUnitID
      LEFT JOIN t_MeasureUnit su ON su.FMeasureUnitID = t.FStoreUnitID
      LEFT JOIN t_Department td ON td.FItemID = a.dept)
SELECT dn, num, nm, md, batch, bun, q, sun, s, bun, f, sun, fs, bun, q - f, sun, s - fs, 0 AS sort, 0 AS g, dn AS k, 0 AS o FROM n
UNION ALL
SELECT dn || '(小计)', '', '', '', '', '', sum(q), '', sum(s), '', sum(f), '', sum(fs), '', sum(q) - sum(f), '',
       sum(s) - sum(fs), 102, 0, dn, 1 FROM n GROUP BY dept
UNION ALL
SELECT '合计', '', '', '', '', '', sum(q), '', sum(s), '', sum(f), '', sum(fs), '', sum(q) - sum(f), '',
       sum(s) - sum(fs), 101, 1, NULL, 2 FROM n
ORDER BY g, k, o, 2, 5;
