// In the browser: an unknown user is refused; Rpt499 accepted with empty periods keeps its
// dialog open with the field named; filled in, the report runs period by period with
// "period k of n" in view and draws its chart.
import { check, clickAndRedraw, control, login, runTest, setValue, waitResult } from './support.mjs';

await runTest('BrowserCostFlow', async ({ page, url }) => {
  await page.goto(url);
  await page.waitForSelector('#login input[name=user]');
  await page.type('#login input[name=user]', 'nobody');
  await page.click('#login button[type=submit]');
  await page.waitForSelector('#login .notice');

  await login(page, url, '张明');
  await page.click('#reports button[data-report="Rpt499"]');
  await page.waitForSelector('#dialog .form.active[data-form="frmFilter499"]');

  // The period boxes start empty: OK is refused with the field named, and the dialog stays open.
  await page.click('#dialog .grid-actions button[data-action="ok"]');
  await page.waitForSelector('#dialog .notice');
  const text = await page.$eval('#dialog .notice', (p) => p.textContent);
  check(text.includes('起始年份不能为空'), `the notice says "${text}"`);
  check(await page.$('#dialog .form.active[data-form="frmFilter499"]') !== null, 'the dialog stays open');

  const session = await page.evaluate(async () => (await fetch('/api/session')).json());
  const year = String(session.currentYear);
  const values = [year, '1', year, String(session.currentPeriod)];
  for (let i = 0; i < 4; i++) await setValue(page, control('txtPeriod', i), values[i]);
  await setValue(page, control('txtlevel', 0), '1');
  await setValue(page, control('txtlevel', 1), '3');
  await clickAndRedraw(page, '#dialog .grid-actions button[data-action="ok"]');
  await waitResult(page, 'Rpt499');

  const period = await page.$eval('#progress .period', (n) => n.textContent);
  const [, k, n] = period.match(/第 (\d+) \/ (\d+) 期/) || [];
  check(n && Number(n) === session.currentPeriod && k === n, `progress shows "${period}"`);
  check(await page.$eval('#progress', (p) => p.dataset.state) === 'done', 'the run is not done');

  await page.waitForSelector('#charts canvas#chart-0');
  const drawn = await page.$eval('#charts canvas#chart-0', (c) => c.width > 0 && c.height > 0);
  check(drawn, 'the chart canvas is empty');
  check((await page.$eval('#charts h3', (h) => h.textContent)) === '成本结构', 'the chart has another title');
});
