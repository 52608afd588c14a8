-- Rpt400 with its defaults (checked tasks, every date): receipts summed per task, then names
-- and units joined.
WITH r AS (SELECT e.FICMOInterID AS task, sum(e.FQty) AS q, max(b.FDate) AS d, string_agg(b.FBillNo, ',') AS bills
           FROM ICStockBillEntry e JOIN ICStockBill b ON b.FInterID = e.FInterID WHERE b.FTranType = 2
           GROUP BY e.FICMOInterID)
SELECT m.FDate, m.FBillNo, t.FNumber, t.FName, t.FModel, coalesce(a.FName, ''), m.FBatchNo,
       mu.FName, m.FAuxQty, bu.FName, m.FQty, cu.FName, m.FQty / cu.FCoefficient, m.FPlanCommitDate,
       mu.FName, m.FQtyFinish / mu.FCoefficient, bu.FName, m.FQtyFinish, cu.FName, m.FQtyFinish / cu.FCoefficient,
       m.FPlanFinishDate, m.FFinishDate, to_char(100.0 * m.FQtyFinish / m.FQty, 'FM999990.00'), coalesce(s.FBillNo, ''),
       coalesce(r.bills, ''), r.d, mu.FName, coalesce(r.q, 0) / mu.FCoefficient, bu.FName, coalesce(r.q, 0), cu.FName,
       coalesce(r.q, 0) / cu.FCoefficient, bu.FName, greatest(m.FQty - coalesce(r.q, 0), 0), cu.FName,
       greatest(m.FQty - coalesce(r.q, 0), 0) / cu.FCoefficient, td.FName, te.FName, m.FNote
FROM ICMO m JOIN t_ICItem t ON t.FItemID = m.FItemID LEFT JOIN r ON r.task = m.FInterID
LEFT JOIN t_AuxItem a ON a.FItemID = m.FAuxPropID LEFT JOIN SEOrder s ON s.FInterID = m.FOrderInterID
LEFT JOIN t_MeasureUnit mu ON mu.FMeasureUnitID = m.FUnitID
LEFT JOIN t_MeasureUnit bu ON bu.FMeasureUnitID = t.FUnitID
LEFT JOIN t_MeasureUnit cu ON cu.FMeasureUnitID = t.FStoreUnitID
LEFT JOIN t_Department td ON td.FItemID = m.FDeptID LEFT JOIN t_Emp te ON te.FItemID = m.FEmpID
WHERE m.FCheckerID <> 0 ORDER BY m.FDate, m.FBillNo
