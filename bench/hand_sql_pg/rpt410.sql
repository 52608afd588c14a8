-- Rpt410 with its defaults: open tasks not finished in full whose planned finish lies before today.
SELECT m.FDate, m.FBillNo, CASE WHEN m.FClosed <> 0 THEN '已关闭' ELSE '未关闭' END, t.FNumber, t.FName, t.FModel,
       m.FBatchNo, mu.FName, m.FPlanFinishDate, m.FAuxQty, m.FQtyFinish / mu.FCoefficient,
       (m.FQty - m.FQtyFinish) / mu.FCoefficient, to_char(100.0 * m.FQtyFinish / m.FQty, 'FM999990.00') || '%',
       to_char(100.0 - 100.0 * m.FQtyFinish / m.FQty, 'FM999990.00') || '%', m.FNote, coalesce(td.FName, ''),
       coalesce(te.FName, '')
FROM ICMO m JOIN t_ICItem t ON t.FItemID = m.FItemID
LEFT JOIN t_MeasureUnit mu ON mu.FMeasureUnitID = m.FUnitID
LEFT JOIN t_Department td ON td.FItemID = m.FDeptID LEFT JOIN t_Emp te ON te.FItemID = m.FEmpID
WHERE m.FFinishDate IS NULL AND m.FQtyFinish < m.FQty AND m.FPlanFinishDate < to_char(current_date, 'YYYY-MM-DD')
  AND m.FClosed = 0
ORDER BY m.FPlanFinishDate, m.FBillNo
