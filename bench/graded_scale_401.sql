-- Rpt401 graded by product-class levels 1-3, per product and batch, written by hand for SQLite:
-- the same rows as the report (names from each product's chain of class nodes, sums of the tasks
-- dated ?1..?2, subtotals per level and the grand total) in the same top-down order.
-- sqlite3 FILE ".param set ?1 \"'2025-01-01'\"" ".param set ?2 \"'2026-12-31'\"" ".read bench/graded_scale_401.sql"
WITH a AS (
  SELECT m.FItemID AS item, m.FBatchNo AS batch, sum(m.FQty) AS q, sum(m.FQty / u.FCoefficient) AS s,
         sum(m.FQtyFinish) AS f, sum(m.FQtyFinish / u.FCoefficient) AS fs
  FROM ICMO m JOIN t_ICItem t ON t.FItemID = m.FItemID
  JOIN t_MeasureUnit u ON u.FMeasureUnitID = t.FStoreUnitID
  WHERE m.FDate BETWEEN ?1 AND ?2
  GROUP BY m.FItemID, m.FBatchNo),
c AS (
  SELECT a.*, t.FNumber AS num, t.FShortNumber AS sn, t.FName AS nm, t.FModel AS md, bu.FName AS bun,
         su.FName AS sun, t.FQtyDecimal AS qd, t.FPriceDecimal AS pd,
         CASE WHEN p1.FLevel = 1 THEN p1.FName WHEN p2.FLevel = 1 THEN p2.FName WHEN p3.FLevel = 1 THEN p3.FName WHEN p4.FLevel = 1 THEN p4.FName END AS n1,
         CASE WHEN p1.FLevel = 2 THEN p1.FName WHEN p2.FLevel = 2 THEN p2.FName WHEN p3.FLevel = 2 THEN p3.FName WHEN p4.FLevel = 2 THEN p4.FName END AS n2,
         CASE WHEN p1.FLevel = 3 THEN p1.FName WHEN p2.FLevel = 3 THEN p2.FName WHEN p3.FLevel = 3 THEN p3.FName WHEN p4.FLevel = 3 THEN p4.FName END AS n3
  FROM a JOIN t_ICItem t ON t.FItemID = a.item JOIN t_Item i ON i.FItemID = a.item
  LEFT JOIN t_Item p1 ON p1.FItemID = i.FParentID LEFT JOIN t_Item p2 ON p2.FItemID = p1.FParentID
  LEFT JOIN t_Item p3 ON p3.FItemID = p2.FParentID LEFT JOIN t_Item p4 ON p4.FItemID = p3.FParentID
  LEFT JOIN t_MeasureUnit bu ON bu.FMeasureUnitID = t.FUnitID
  LEFT JOIN t_MeasureUnit su ON su.FMeasureUnitID = t.FStoreUnitID)
SELECT n1, n2, n3, num, sn, nm, md, batch, bun, sun, q, s, f, fs, q - f, s - fs, qd, pd, kind FROM (
  SELECT n1, n2, n3, num, sn, nm, md, batch, bun, sun, q, s, f, fs, qd, pd, 0 AS kind,
         0 AS g1, n1 AS o1, 0 AS g2, n2 AS o2, 0 AS g3, n3 AS o3, 0 AS g4, num AS o4, batch AS o5 FROM c
  UNION ALL
  SELECT n1, n2, ifnull(n3, '') || '(小计)', NULL, '', '', '', '', '', '', sum(q), sum(s), sum(f), sum(fs), NULL, NULL, 109,
         0, n1, 0, n2, 0, n3, 1, NULL, NULL FROM c GROUP BY n1, n2, n3
  UNION ALL
  SELECT n1, ifnull(n2, '') || '(小计)', NULL, NULL, '', '', '', '', '', '', sum(q), sum(s), sum(f), sum(fs), NULL, NULL, 108,
         0, n1, 0, n2, 1, NULL, 1, NULL, NULL FROM c GROUP BY n1, n2
  UNION ALL
  SELECT ifnull(n1, '') || '(小计)', NULL, NULL, NULL, '', '', '', '', '', '', sum(q), sum(s), sum(f), sum(fs), NULL, NULL, 107,
         0, n1, 1, NULL, 1, NULL, 1, NULL, NULL FROM c GROUP BY n1
  UNION ALL
  SELECT '合计', NULL, NULL, NULL, '', '', '', '', '', '', sum(q), sum(s), sum(f), sum(fs), NULL, NULL, 101,
         1, NULL, 1, NULL, 1, NULL, 1, NULL, NULL FROM c)
ORDER BY g1, o1, g2, o2, g3, o3, g4, o4, o5;
