-- Rpt499 graded by product-class levels 1-3 for one period (?1 year, ?2 period), per product,
-- written by hand for SQLite: the same rows as the report's period in the same top-down order.
-- sqlite3 FILE ".param set ?1 2025" ".param set ?2 1" ".read bench/graded_scale_499.sql"
WITH a AS (
  SELECT FItemID AS item, sum(FPeriodStartNum) a0, sum(FPeriodStartCost) a1, sum(FCurInNum) a2, sum(FCurInCost) a3,
         sum(FCurOutNum) a4, sum(FCurOutCost) a5, sum(FPeriodEndNum) a6, sum(FPeriodEndCost) a7
  FROM cb_ProductPeriodCost WHERE FYear = ?1 AND FPeriod = ?2 GROUP BY FItemID),
c AS (
  SELECT a.*, t.FNumber AS num, t.FName AS nm, t.FModel AS md, u.FName AS un,
         CASE WHEN p1.FLevel = 1 THEN p1.FName WHEN p2.FLevel = 1 THEN p2.FName WHEN p3.FLevel = 1 THEN p3.FName WHEN p4.FLevel = 1 THEN p4.FName END AS n1,
         CASE WHEN p1.FLevel = 2 THEN p1.FName WHEN p2.FLevel = 2 THEN p2.FName WHEN p3.FLevel = 2 THEN p3.FName WHEN p4.FLevel = 2 THEN p4.FName END AS n2,
         CASE WHEN p1.FLevel = 3 THEN p1.FName WHEN p2.FLevel = 3 THEN p2.FName WHEN p3.FLevel = 3 THEN p3.FName WHEN p4.FLevel = 3 THEN p4.FName END AS n3
  FROM a JOIN t_ICItem t ON t.FItemID = a.item JOIN t_Item i ON i.FItemID = a.item
  LEFT JOIN t_Item p1 ON p1.FItemID = i.FParentID LEFT JOIN t_Item p2 ON p2.FItemID = p1.FParentID
  LEFT JOIN t_Item p3 ON p3.FItemID = p2.FParentID LEFT JOIN t_Item p4 ON p4.FItemID = p3.FParentID
  LEFT JOIN t_MeasureUnit u ON u.FMeasureUnitID = t.FUnitID)
SELECT n1, n2, n3, num, nm, md, un, a0, a1, a2, a3, a4, CASE WHEN a4 <> 0 THEN a5 / a4 ELSE 0 END, a5, a6,
       CASE WHEN a6 <> 0 THEN a7 / a6 ELSE 0 END, a7, kind FROM (
  SELECT n1, n2, n3, num, nm, md, un, a0, a1, a2, a3, a4, a5, a6, a7, 0 AS kind,
         0 AS g1, n1 AS o1, 0 AS g2, n2 AS o2, 0 AS g3, n3 AS o3, 0 AS g4, num AS o4 FROM c
  UNION ALL
  SELECT n1, n2, n3 || '(小计)', NULL, '', '', '', sum(a0), sum(a1), sum(a2), sum(a3), sum(a4), sum(a5), sum(a6), sum(a7),
         109, 0, n1, 0, n2, 0, n3, 1, NULL FROM c GROUP BY n1, n2, n3
  UNION ALL
  SELECT n1, n2 || '(小计)', NULL, NULL, '', '', '', sum(a0), sum(a1), sum(a2), sum(a3), sum(a4), sum(a5), sum(a6), sum(a7),
         108, 0, n1, 0, n2, 1, NULL, 1, NULL FROM c GROUP BY n1, n2
  UNION ALL
  SELECT n1 || '(小计)', NULL, NULL, NULL, '', '', '', sum(a0), sum(a1), sum(a2), sum(a3), sum(a4), sum(a5), sum(a6), sum(a7),
         107, 0, n1, 1, NULL, 1, NULL, 1, NULL FROM c GROUP BY n1
  UNION ALL
  SELECT '合计', NULL, NULL, NULL, '', '', '', sum(a0), sum(a1), sum(a2), sum(a3), sum(a4), sum(a5), sum(a6), sum(a7),
         101, 1, NULL, 1, NULL, 1, NULL, 1, NULL FROM c)
ORDER BY g1, o1, g2, o2, g3, o3, g4, o4;
