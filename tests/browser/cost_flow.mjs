// In the browser: an unknown user is refused; Rpt499 accepted with empty periods shows the
// dialog's message box and then the failed run's error; filled in, the report runs period by
// period with "period k of n" in view and draws its chart.
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

  // The period boxes start empty: the dialog's check says so in a message box, and the run fails.
  await page.click('#dialog .grid-actions button[data-action="ok"]');
  await page.waitForSelector('#dialog .msgbox');
  const text = await page.$eval('#dialog .msgbox .msgbox-text', (p) => p.textContent);
  check(text.includes('is not a number'), `the message box says "${text}"`);
  await page.click('#dialog .msgbox button[data-answer]');
  await page.waitForFunction(() => !document.querySelector('#error').hidden);
  const error = await page.$eval('#error', (e) => e.textContent);
  check(error === text, `the failed run shows "${error}"`);
  check(await page.$eval('#progress', (p) => p.dataset.state) === 'failed', 'the progress does not show the failure');

  await page.click('#reports button[data-report="Rpt499"]');
  await page.waitForSelector('#dialog .form.active[data-form="frmFilter499"]');

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
