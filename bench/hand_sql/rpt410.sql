-- Rpt410 with its defaults: open tasks not finished in full whose planned finish lies before today.
SELECT m.FDate, m.FBillNo, CASE WHEN m.FClosed <> 0 THEN '已关闭' ELSE '未关闭' END, t.FNumber, t.FName, t.FModel,
       m.FBatchNo, mu.FName, m.FPlanFinishDate, m.FAuxQty, m.FQtyFinish / mu.FCoefficient,
       (m.FQty - m.FQtyFinish) / mu.FCoefficient, printf('%.2f%%', 100.0 * m.FQtyFinish / m.FQty),
       printf('%.2f%%', 100.0 - 100.0 * m.FQtyFinish / m.FQty), m.FNote, ifnull(td.FName, ''), ifnull(te.FName, '')
FROM ICMO m JOIN t_ICItem t ON t.FItemID = m.FItemID
LEFT JOIN t_MeasureUnit mu ON mu.FMeasureUnitID = m.FUnitID
LEFT JOIN t_Department td ON td.FItemID = m.FDeptID LEFT JOIN t_Emp te ON te.FItemID = m.FEmpID
WHERE m.FFinishDate IS NULL AND m.FQtyFinish < m.FQty AND m.FPlanFinishDate < date('now', 'localtime') AND m.FClosed = 0
ORDER BY m.FPlanFinishDate, m.FBillNo;
