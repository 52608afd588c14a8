-- Rpt401, one row per product and batch over every task, with the total.
WITH a AS (SELECT m.FItemID AS item, m.FBatchNo AS batch, sum(m.FQty) AS q, sum(m.FQty / u.FCoefficient) AS s,
                  sum(m.FQtyFinish) AS f, sum(m.FQtyFinish / u.FCoefficient) AS fs
           FROM ICMO m JOIN t_ICItem t ON t.FItemID = m.FItemID
           JOIN t_MeasureUnit u ON u.FMeasureUnitID = t.FStoreUnitID
           GROUP BY m.FItemID, m.FBatchNo),
d AS (SELECT a.*, t.FNumber AS num, t.FName AS nm, t.FModel AS md, bu.FName AS bun, su.FName AS sun
      FROM a JOIN t_ICItem t ON t.FItemID = a.item
      LEFT JOIN t_MeasureUnit bu ON bu.FMeasureUnitID = t.FUnitID
      LEFT JOIN t_MeasureUnit su ON su.FMeasureUnitID = t.FStoreUnitID)
SELECT num, nm, md, batch, bun, q, sun, s, bun, f, sun, fs, bun, q - f, sun, s - fs, 0 AS sort FROM d
UNION ALL
SELECT '合计', '', '', '', '', sum(q), '', sum(s), '', sum(f), '', sum(fs), '', sum(q) - sum(f), '', sum(s) - sum(fs), 101
FROM d ORDER BY sort, 1, 4;
