// In the browser: log in, open Rpt401, grade it by class levels in its dialog, set the dates, run;
// the first subtotal row follows its group, a group folds, a row drills into Rpt400 and back,
// and the CSV download equals `tavshoprpt run --format csv` for the same filter.
import { execFileSync } from 'node:child_process';
import { check, clickAndRedraw, control, login, program, runTest, setValue, waitResult } from './support.mjs';

await runTest('BrowserSummaryFlow', async ({ page, url, db }) => {
  await login(page, url, 'administrator');
  await page.click('#reports button[data-report="Rpt401"]');
  await page.waitForSelector('#dialog .form.active[data-form="frmFilter401"]');

  await setValue(page, control('DtpBDate'), '2020-01-01');
  await setValue(page, control('DtpEDate'), '2030-12-31');
  const graded = await page.$eval(control('chkGroupBy'), (n) => n.checked);
  if (!graded) await clickAndRedraw(page, control('chkGroupBy'));
  await setValue(page, control('cmbGroupBy'), '0');
  await setValue(page, control('txtlevel', 1), '2');
  check(await page.$eval(control('DtpBDate'), (n) => n.value) === '2020-01-01', 'the date did not stick');
  check(await page.$eval(control('chkGroupBy'), (n) => n.checked), 'graded summary is not checked');

  await page.click('#dialog .grid-actions button[data-action="ok"]');
  await waitResult(page, 'Rpt401');

  // The two-row header and right-aligned numbers.
  check(await page.$$eval('#result thead tr', (rows) => rows.length) === 2, 'the header has not two rows');
  const align = await page.$eval('#result tbody td.num', (td) => getComputedStyle(td).textAlign);
  check(align === 'right', `numbers are aligned ${align}`);

  // The first subtotal row comes right after the rows of its group.
  const rows = await page.$$eval('#result tbody tr', (trs) => trs.map((tr) => ({
    row: Number(tr.dataset.row), kind: tr.dataset.kind, start: Number(tr.dataset.groupStart || 0) })));
  const first = rows.findIndex((r) => r.kind === 'subtotal' && r.start);
  check(first > 0, 'no subtotal row with a group');
  const subtotal = rows[first];
  check(rows[first - 1].kind !== 'total' && rows[first - 1].row === subtotal.row - 1, 'the subtotal does not follow its group');
  check(rows.slice(subtotal.start - 1, first).every((r) => r.kind === 'detail' || r.kind === 'subtotal'), 'the group holds a total');

  // Folding hides the group's rows, unfolding shows them again.
  const sel = `#result tbody tr[data-row="${subtotal.row}"] button.fold`;
  await page.click(sel);
  const hidden = await page.$$eval('#result tbody tr', (trs, s, e) => trs.filter((tr) => {
    const n = Number(tr.dataset.row);
    return n >= s && n < e && tr.hidden;
  }).length, subtotal.start, subtotal.row);
  check(hidden === subtotal.row - subtotal.start, `folding hid ${hidden} of ${subtotal.row - subtotal.start} rows`);
  await page.click(sel);
  check(await page.$$eval('#result tbody tr[hidden]', (trs) => trs.length) === 0, 'unfolding left rows hidden');

  // The download is what the command line writes for the same filter (the dialog kept it as last used).
  const csv = await page.evaluate(async () => {
    const href = document.querySelector('#download-csv').getAttribute('href');
    const bytes = new Uint8Array(await (await fetch(href)).arrayBuffer());
    return Array.from(bytes);
  });
  const cli = execFileSync(program, ['run', '401', '--db', db, '--scheme', '上次使用', '--format', 'csv']);
  check(Buffer.from(csv).equals(cli), 'the CSV download differs from run --format csv');

  // A detail row drills into the detail report, and back returns to the summary.
  const detailRow = rows.find((r) => r.kind === 'detail').row;
  await page.click(`#result tbody tr[data-row="${detailRow}"]`);
  await waitResult(page, 'Rpt400', 2);
  const cliDetail = execFileSync(program, ['run', '401', '--db', db, '--scheme', '上次使用', '--drill', String(detailRow), '--format', 'csv']);
  const detailLines = cliDetail.toString().trim().split('\r\n').length - 1;
  const shown = await page.$$eval('#result tbody tr', (trs) => trs.length);
  check(shown === detailLines, `the detail report shows ${shown} rows, the command line ${detailLines}`);
  await page.click('#back');
  await waitResult(page, 'Rpt401', 1);
});
