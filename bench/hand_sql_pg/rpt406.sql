-- Rpt406 with its defaults (checked tasks, every date): planned material and issues summed per
-- task and material, merged, then names and units joined.
WITH t AS (SELECT m.*, t1.FNumber AS pnum, t1.FName AS pname, t1.FModel AS pmodel, t1.FUnitID AS bunit,
                  t1.FStoreUnitID AS cunit
           FROM ICMO m JOIN t_ICItem t1 ON t1.FItemID = m.FItemID WHERE m.FCheckerID <> 0),
lines AS (SELECT p.FICMOInterID AS task, p.FItemID AS item, min(p.FUnitID) AS punit, NULL::integer AS iunit,
                 sum(p.FStandardQty) AS std, sum(p.FQtyMust) AS must, 0 AS issued, min(p.FEntryID) AS seq
          FROM t JOIN PPBOM p ON p.FICMOInterID = t.FInterID GROUP BY p.FICMOInterID, p.FItemID
          UNION ALL
          SELECT e.FICMOInterID, e.FItemID, NULL, min(e.FUnitID), 0, 0, sum(e.FQty), NULL
          FROM t JOIN ICStockBillEntry e ON e.FICMOInterID = t.FInterID JOIN ICStockBill b ON b.FInterID = e.FInterID
          WHERE b.FTranType = 24 GROUP BY e.FICMOInterID, e.FItemID),
v AS (SELECT task, item, coalesce(max(punit), max(iunit)) AS unit, sum(std) AS std, sum(must) AS must,
             sum(issued) AS issued, coalesce(min(seq), 1000000) AS seq FROM lines GROUP BY task, item)
SELECT t.FDate, t.FBillNo, t.pnum, t.pname, t.pmodel, coalesce(ta.FName, ''), t.FBatchNo,
       mu.FName, t.FAuxQty, bu.FName, t.FQty, cu.FName, t.FQty / cu.FCoefficient,
       mu.FName, t.FQtyFinish / mu.FCoefficient, bu.FName, t.FQtyFinish, cu.FName, t.FQtyFinish / cu.FCoefficient,
       CASE WHEN t.FQty > 0 THEN to_char(100.0 * t.FQtyFinish / t.FQty, 'FM999990.00') ELSE '' END,
       i.FNumber, i.FName,
       lu.FName, v.std / lu.FCoefficient, ib.FName, v.std, ic.FName, v.std / ic.FCoefficient,
       lu.FName, v.must / lu.FCoefficient, ib.FName, v.must, ic.FName, v.must / ic.FCoefficient,
       lu.FName, v.issued / lu.FCoefficient, ib.FName, v.issued, ic.FName, v.issued / ic.FCoefficient,
       CASE WHEN v.issued = 0 THEN '未领料' WHEN abs(v.issued - v.must) < 1e-9 THEN '正常'
            WHEN v.issued < v.must THEN '少领' ELSE '超领' END,
       lu.FName, (v.issued - v.must) / lu.FCoefficient, ib.FName, v.issued - v.must, ic.FName,
       (v.issued - v.must) / ic.FCoefficient,
       CASE WHEN v.must > 0 THEN to_char(100.0 * (v.issued - v.must) / v.must, 'FM9999999990.00') ELSE '' END,
       coalesce(td.FName, ''), coalesce(te.FName, ''), t.FNote
FROM v JOIN t ON t.FInterID = v.task JOIN t_ICItem i ON i.FItemID = v.item
LEFT JOIN t_AuxItem ta ON ta.FItemID = t.FAuxPropID
LEFT JOIN t_MeasureUnit mu ON mu.FMeasureUnitID = t.FUnitID
LEFT JOIN t_MeasureUnit bu ON bu.FMeasureUnitID = t.bunit
LEFT JOIN t_MeasureUnit cu ON cu.FMeasureUnitID = t.cunit
LEFT JOIN t_MeasureUnit lu ON lu.FMeasureUnitID = v.unit
LEFT JOIN t_MeasureUnit ib ON ib.FMeasureUnitID = i.FUnitID
LEFT JOIN t_MeasureUnit ic ON ic.FMeasureUnitID = i.FStoreUnitID
LEFT JOIN t_Department td ON td.FItemID = t.FDeptID LEFT JOIN t_Emp te ON te.FItemID = t.FEmpID
ORDER BY t.FDate, t.FBillNo, v.seq, i.FNumber
